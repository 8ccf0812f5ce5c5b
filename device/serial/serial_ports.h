#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A tty behind a USB device, as the kernel lists it.
struct SerialPortInfo {
    std::string path; // /dev/ttyUSB0
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    std::string description; // the device's product string
    std::string serial;
};

inline constexpr std::uint16_t ftdiVendor = 0x0403;

// Where the kernel lists ttys and where their device nodes live; tests point both at
// a tree of their own.
struct SerialPortRoots {
    std::string classTty = "/sys/class/tty";
    std::string dev = "/dev";
};

// Every tty whose device hangs off a USB device, in name order (ttyUSB2 before
// ttyUSB10). Ttys without a USB device behind them are left out.
std::vector<SerialPortInfo> listSerialPorts(const SerialPortRoots& roots = {});

// "path vendor:product description serial", as --list-ports prints it.
std::string describe(const SerialPortInfo& port);
