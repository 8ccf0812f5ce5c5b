#pragma once

#include "com_device.h"
#include "driver_table.h"

#include <stdexcept>

// The QB-7 adapter over the D2XX library.
class Zabro : public ComDevice {
public:
    struct ConnectionError : std::runtime_error {
        ConnectionError() : std::runtime_error("") {}
    };
    struct InitializeError : ConnectionError {};
    struct OpenError : ConnectionError {};
    struct ReadError : ConnectionError {};
    struct WriteError : ConnectionError {};

    static constexpr d2xx::ULONG baudRate = 100000;
    static constexpr d2xx::ULONG timeoutMs = 5000;

    constexpr Zabro() = default;
    ~Zabro() override;
    Zabro(const Zabro&) = delete;
    Zabro& operator=(const Zabro&) = delete;

    void open() override;                                                   // raises OpenError
    void close() override;                                                  // raises nothing
    std::uint32_t read(std::uint8_t* buffer, std::uint32_t count) override; // ReadError
    void write(const std::uint8_t* buffer, std::uint32_t count) override;   // WriteError

    DriverTable driver;
    d2xx::FT_HANDLE handle = nullptr;
};

// The one adapter of the process. Constant-initialised, so it exists before any code
// of the program runs.
extern Zabro theAdapter;
