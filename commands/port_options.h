#pragma once

// The options every face takes to choose the adapter, and what they make of them: the
// port to connect and the names of the candidates. No toolkit here, so that each face
// parses its own command line and shares the choice.

#include "commands/connect.h"

#include <optional>
#include <string>
#include <vector>

struct PortOptions {
    std::string port;   // --port: a tty, or a name the port listing prints (d2xx:0)
    std::string driver; // --driver: the D2XX library to load; empty for the vendor's
    bool simulate = false;
};

// The library the options name: --driver, else the simulated unit's beside the
// program, else the vendor's.
std::string driverLibrary(const PortOptions& options);

// The port to connect. A library named on the command line (--driver, --simulate) and
// a D2XX device named by --port are the one way to the adapter: no tty stands in.
PortChoice portChoice(const PortOptions& options);

// The device index in a D2XX name, "d2xx:1"; nothing for any other name.
std::optional<int> d2xxIndexNamed(const std::string& name);

struct PortListing {
    // One line per candidate, its name first: the USB serial ports (path,
    // vendor:product, product, serial), then the library's devices ("d2xx:0 QB-7").
    std::vector<std::string> lines;
    // A library named on the command line that cannot be loaded; empty otherwise.
    std::string missingLibrary;
};
PortListing listPorts(const PortOptions& options);
// Why the listing offers no port, in one line for standard error; empty when it offers
// some. Both faces print it and end with the error status.
std::string listingProblem(const PortListing& listing);
