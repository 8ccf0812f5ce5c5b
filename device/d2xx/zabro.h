#pragma once

#include "device/com_device.h"
#include "driver_table.h"

// The QB-7 adapter over the D2XX library.
class Zabro : public ComDevice {
public:
    constexpr Zabro() = default;
    ~Zabro() override;
    Zabro(const Zabro&) = delete;
    Zabro& operator=(const Zabro&) = delete;

    void open() override;                                                   // raises OpenError
    void close() override;                                                  // raises nothing
    std::uint32_t read(std::uint8_t* buffer, std::uint32_t count) override; // ReadError
    void write(const std::uint8_t* buffer, std::uint32_t count) override;   // WriteError
    void purgeReceive() override;                                           // ConnectionError

    DriverTable driver;
    d2xx::FT_HANDLE handle = nullptr;
    int deviceIndex = 0; // in the library's listing
};
