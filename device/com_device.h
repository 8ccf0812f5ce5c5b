#pragma once

#include <cstdint>
#include <stdexcept>

// A byte-stream port to the adapter. Every failure leaves it as one of the errors
// below, whichever way the port reaches the adapter.
class ComDevice {
public:
    struct ConnectionError : std::runtime_error {
        ConnectionError() : std::runtime_error("") {}
    };
    // The way to the adapter is missing altogether (no driver library).
    struct InitializeError : ConnectionError {};
    struct OpenError : ConnectionError {};
    // The port exists but this user may not open it.
    struct AccessDeniedError : OpenError {};
    // Another program holds the port.
    struct BusyError : OpenError {};
    struct ReadError : ConnectionError {};
    struct WriteError : ConnectionError {};

    static constexpr std::uint32_t baudRate = 100000;
    static constexpr std::uint32_t timeoutMs = 5000;

    virtual ~ComDevice() = default;
    virtual void open() = 0;
    virtual void close() = 0;
    // Reads up to count bytes and returns how many arrived before the read time-out.
    // A time-out is not an error of the port; the caller judges a short read.
    virtual std::uint32_t read(std::uint8_t* buffer, std::uint32_t count) = 0;
    virtual void write(const std::uint8_t* buffer, std::uint32_t count) = 0;
    // Drops whatever the port has received and not yet been read. ConnectionError.
    virtual void purgeReceive() = 0;
};
