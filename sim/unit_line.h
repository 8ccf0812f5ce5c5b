#pragma once

// The unit at the far end of a line that echoes every byte, whichever way the line
// reaches the program: the faults of the unit and of the line, the echo, and keeping
// the record between runs. The owner says whether the line's settings were the unit's
// when the bytes arrived and moves the bytes; it also does the locking.

#include "sim/unit_model.h"

#include <cstdint>
#include <vector>

namespace sim {

class UnitLine {
public:
    // Powers the unit on with the environment's record and fault.
    UnitLine();

    // Bytes off the line. What goes back, echo and answers, is appended to `out`.
    // False when the line is pulled at these bytes by the unplugged fault: the bytes
    // from there on never reach the unit, and the owner ends the line.
    bool receive(const std::uint8_t* data, std::size_t count, bool settingsMatch,
                 std::vector<std::uint8_t>& out);

    void setFault(int fault, int argument);
    UnitModel& unit() { return model; }
    // Whether the settings were the unit's when the last bytes arrived.
    bool understood() const { return lastUnderstood; }
    // Bytes received from the program so far.
    std::uint64_t received() const { return receivedCount; }

private:
    UnitModel model;
    int fault = SIM_FAULT_NONE;
    int faultArgument = 0;
    std::uint64_t receivedCount = 0;
    std::uint64_t receivedAtFault = 0;
    std::uint64_t commitsPersisted = 0;
    bool lastUnderstood = false;
};

} // namespace sim
