#include "sim/sim_session.h"

#include "device/zabro.h"
#include "sim/sim_control.h"

#include <vector>

void startSimulatedSession() {
    simReset();
    theAdapter.close();
    theAdapter.open();
}

void wakeSimulatedUnit() {
    const std::vector<std::uint8_t> preamble(1000, 0x55);
    theAdapter.write(preamble.data(), static_cast<std::uint32_t>(preamble.size()));
}
