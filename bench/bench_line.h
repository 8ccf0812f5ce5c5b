#pragma once

// The line a benchmark talks over: the simulated adapter through the D2XX binding, or
// the serial port on the simulated unit's pseudo-terminal (or on a tty given by path).

#include "device/com_device.h"
#ifdef VARNEL_SERIAL_PORT
#include "sim/pty_unit.h"
#endif

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct BenchLine {
    std::string name; // "D2XX" or "tty"
#ifdef VARNEL_SERIAL_PORT
    std::unique_ptr<sim::PtyUnit> unit; // set for the pseudo-terminal
#endif
    std::unique_ptr<ComDevice> port; // open

    // Arrival times (monotonic, ns) of the servo frames the unit has decoded.
    std::vector<std::int64_t> servoArrivals() const;
    // The wake-up preamble, and its echo taken off the line.
    void wakeUnit();
};

// Reads "--port [PATH]" at argv[index], if it is there (where the build has the serial
// port), and advances index past it.
// Without PATH the line is the simulated unit on a pseudo-terminal; with no --port it
// is the simulated adapter at d2xxLibrary. Exits with a message when the line cannot
// be opened.
BenchLine openBenchLine(int argc, char** argv, int& index, const char* d2xxLibrary);
