#pragma once

#include "device/com_device.h"

#include <asm/termbits.h>

#include <chrono>
#include <string>

// The QB-7 adapter as the kernel's USB serial driver presents it: a tty device such as
// /dev/ttyUSB0, set to the unit's line and held exclusively while open.
class SerialPort : public ComDevice {
public:
    // The time-out bounds each read and each write; tests shorten it.
    explicit SerialPort(std::string path,
                        std::chrono::milliseconds timeout = std::chrono::milliseconds(timeoutMs));
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // OpenError; AccessDeniedError when the user may not open the tty, BusyError
    // when another program holds it.
    void open() override;
    void close() override;
    std::uint32_t read(std::uint8_t* buffer, std::uint32_t count) override; // ReadError
    void write(const std::uint8_t* buffer, std::uint32_t count) override;   // WriteError
    void purgeReceive() override;                                           // ConnectionError

    const std::string& path() const { return devicePath; }

private:
    template <class Error> [[noreturn]] void abandonOpen();

    std::string devicePath;
    std::chrono::milliseconds timeout;
    int fd = -1;
};

// The unit's line on top of the tty's current settings: 100000 baud as an arbitrary
// rate, 8 data bits, even parity, 2 stop bits, raw, no flow control, receiver on,
// modem lines ignored, reads that never block (the port waits with poll).
termios2 unitLineSettings(const termios2& current);
