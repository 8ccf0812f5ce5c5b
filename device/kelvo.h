#pragma once

#include "device/com_device.h"
#include "settings/settings_image.h"
#include "sleep.h"

#include <array>
#include <cstdint>

// The port delivered a reply, but not one the unit should have sent: its marker or
// its checksum is wrong. To the commands it is a failed read like any other.
struct ProtocolError : ComDevice::ReadError {};

// A unit of another model answered. Its own message, so handlers take it before the
// read errors it derives from.
struct CompatibilityError : ProtocolError {};

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

    // Raises ComDevice::ConnectionError (purge), WriteError, ReadError, ProtocolError,
    // CompatibilityError.
    void read(bool flag);
    // Nine block frames 100 ms apart, then the end-of-write frame. WriteError.
    void write(bool flag);
    // Switches the unit's servo-drive mode. WriteError.
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
