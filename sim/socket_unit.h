#pragma once

// The simulated unit behind an emulated USB serial adapter: QEMU's usb-serial device
// carries the guest's bytes over a Unix socket (its chardev) to here, and the unit
// hears them only while the guest's driver has the chip set to the unit's line, as
// QEMU's trace reports it. The line echoes every byte, as the adapter does.

#include "sim/chip_trace.h"
#include "sim/unit_line.h"

#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

class SocketUnit {
public:
    // Listens on socketPath at once, so that QEMU can be started next. Raises
    // std::runtime_error when it cannot.
    SocketUnit(const std::string& socketPath, std::string tracePath);
    ~SocketUnit();
    SocketUnit(const SocketUnit&) = delete;
    SocketUnit& operator=(const SocketUnit&) = delete;

    // Called once when the unplugged fault pulls the line; from then on nothing the
    // guest sends reaches the unit. Without one the connection is closed.
    void onUnplug(std::function<void()> unplug) { unplugLine = std::move(unplug); }
    // Called with the settings in effect whenever they differ from those the last
    // bytes arrived under.
    void onSettings(std::function<void(const ChipSettings&, bool understood)> report) {
        reportSettings = std::move(report);
    }

    // Called with the unit's record each time a write stores it.
    void onStored(std::function<void(const Record&)> report) { reportStored = std::move(report); }

    // Takes QEMU's connection and serves it until QEMU closes it or stop() is called
    // (from a signal handler: it only sets a flag).
    void serve();
    void stop() { stopping = 1; }

    UnitLine& line() { return unitLine; }
    const ChipSettings& settings() { return trace.update(); }
    bool unplugged() const { return pulled; }

private:
    void handle(int connection, const std::uint8_t* data, std::size_t count);

    int listener = -1;
    std::string path;
    ChipTrace trace;
    UnitLine unitLine;
    std::function<void()> unplugLine;
    std::function<void(const ChipSettings&, bool)> reportSettings;
    std::function<void(const Record&)> reportStored;
    std::uint64_t commitsReported = 0;
    ChipSettings reported;
    bool reportedOnce = false;
    bool pulled = false;
    volatile std::sig_atomic_t stopping = 0;
};

} // namespace sim
