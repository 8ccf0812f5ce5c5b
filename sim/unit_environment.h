#pragma once

// What the environment tells every simulated unit, whichever line it sits on.

#include "sim/unit_model.h"

namespace sim {

struct FaultSetting {
    int fault = SIM_FAULT_NONE;
    int argument = 0;
};

// VARNEL_SIM_FAULT switches one fault on at start, as "name" or "name:N" where N is
// decimal or 0x-prefixed hexadecimal:
//   no_adapter, open_step:N (1-5), purge, write:N (fails after N good writes), read,
//   no_reply, wrong_marker, bad_checksum, foreign_model:N (0x8C when N is 0),
//   short_reply:N, store_differently:N (record byte N), unplugged:N, wrong_line.
// An unknown name switches nothing on.
FaultSetting faultFromEnvironment();

// VARNEL_SIM_RECORD names a file holding the unit's 85-byte record between runs. The
// record it holds, or the factory record when there is none or it is damaged.
Record startingRecord();
// Keeps the record in that file, when one is named.
void persistRecord(const Record& record);

} // namespace sim
