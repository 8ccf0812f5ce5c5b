#pragma once

#include "device/serial/serial_ports.h"

#include <memory>
#include <string>

class ComDevice;

// Which port to use, as the command line asks.
struct PortChoice {
    std::string device;        // a tty to use and nothing else; empty: look for one
    std::string driverLibrary; // empty: the vendor's D2XX library
    int d2xxIndex = 0;         // which of the library's devices
    // Whether an FTDI serial port may stand in when the library cannot reach the
    // adapter. Off where the library is the only way (Windows).
    bool serialFallback = defaultSerialFallback;
    SerialPortRoots roots;

#ifdef VARNEL_SERIAL_PORT
    static constexpr bool defaultSerialFallback = true;
#else
    static constexpr bool defaultSerialFallback = false;
#endif
};

// The outcome of connecting at start-up.
struct Connection {
    std::unique_ptr<ComDevice> port; // open; null when a message tells why not
    std::string name;                // "D2XX" or the tty's path
    int message = 0;                 // noMessage, or why no adapter can be used
    std::string device;              // the tty the message is about
};

// Opens the adapter: the given tty; or else the D2XX library's adapter, then the first
// FTDI serial port in name order. When none can be used, the message tells why: for a
// tty that exists but cannot be opened, no permission or held by another program;
// driver missing only where the library is the one way and cannot be bound; adapter
// missing otherwise. Where a tty may stand in, the library is optional, and a missing
// one is no reason to send the user looking for a driver.
Connection connectAdapter(const PortChoice& choice);

// The line the version box shows, "QB-7: /dev/ttyUSB0".
std::string portLabel(const Connection& connection);
