#pragma once

#include <cstdint>

// A byte-stream port.
class ComDevice {
public:
    virtual ~ComDevice() = default;
    virtual void open() = 0;
    virtual void close() = 0;
    // Reads up to count bytes and returns how many arrived before the read time-out.
    // A time-out is not an error of the port; the caller judges a short read.
    virtual std::uint32_t read(std::uint8_t* buffer, std::uint32_t count) = 0;
    virtual void write(const std::uint8_t* buffer, std::uint32_t count) = 0;
};
