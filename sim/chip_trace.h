#pragma once

// What the guest's USB serial driver programmed into the FTDI chip that QEMU emulates,
// as QEMU's trace of its usb_serial_* events tells it (-trace 'usb_serial_*' -D FILE).
// The chip itself carries no line settings over a socket, so the unit at the far end
// learns them from here.

#include <string>
#include <string_view>

namespace sim {

struct ChipSettings {
    int baudRate = 9600;
    char parity = 'N'; // '?' when the driver asked for one the chip does not have
    int dataBits = 8;
    int stopBits = 1; // 0 when the driver asked for a count the chip does not have
    int flowControl = 0;
    int latencyTimer = -1; // -1 until the driver sets it

    bool operator==(const ChipSettings&) const = default;
};

// 100000 baud, even parity, 8 data bits, 2 stop bits, no flow control.
bool unitSettings(const ChipSettings& settings);
// "100000 baud, parity E, 8 data bits, 2 stop bits, flow control 0".
std::string describe(const ChipSettings& settings);

// One line of the trace applied to the settings; lines of other events change nothing.
void applyTraceLine(ChipSettings& settings, std::string_view line);

// Follows the trace file as QEMU appends to it.
class ChipTrace {
public:
    explicit ChipTrace(std::string path) : path(std::move(path)) {}
    // The settings after every complete line written so far.
    const ChipSettings& update();

private:
    std::string path;
    std::string partialLine;
    long offset = 0;
    ChipSettings settings;
};

} // namespace sim
