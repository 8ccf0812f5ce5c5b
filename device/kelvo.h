#pragma once

#include "settings/settings_image.h"
#include "sleep.h"

#include <array>
#include <cstdint>
#include <stdexcept>

class ComDevice;

// A unit of another model answered.
struct CompatibilityError : std::runtime_error {
    CompatibilityError() : std::runtime_error("") {}
};

// The conversation with the unit: request frames out, replies in.
class Kelvo {
public:
    static constexpr std::size_t requestSize = 17;
    static constexpr std::size_t replySize = 101;
    static constexpr std::uint8_t requestStart = 0x9F;
    static constexpr std::uint8_t replyMarker = 0xA1;
    static constexpr std::chrono::milliseconds blockPause{100};

    explicit Kelvo(ComDevice* device, SleepFunction sleep = realSleep);
    virtual ~Kelvo() = default;

    // Raises Zabro::ConnectionError (purge), Zabro::WriteError, Zabro::ReadError,
    // CompatibilityError; std::bad_cast when the port is not the adapter.
    void read(bool flag);
    // Nine block frames 100 ms apart, then the end-of-write frame. Zabro::WriteError.
    void write(bool flag);
    // Switches the unit's servo-drive mode. Zabro::WriteError.
    void servoDrive(bool on);

    // The request buffer keeps its bytes between transactions: its flag byte carries
    // bits over from the frame sent last.
    std::array<std::uint8_t, requestSize> request{};
    SettingsImage receivedImage;
    SettingsImage workingImage;
    ComDevice* device;

private:
    void fillHeader(std::uint8_t blockIndex);
    void finishAndSend();

    SleepFunction sleep;
};

// Bit n of the result is bit 7 - n of the argument.
std::uint8_t reverseBits(std::uint8_t value);
