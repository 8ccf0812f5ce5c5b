#include "sim/sim_session.h"

#include "device/adapter.h"
#include "device/d2xx/d2xx_port.h"
#include "sim/sim_control.h"

#include <memory>
#include <vector>

bool chooseSimulatedAdapter(const char* path) {
    try {
        // Chosen for the rest of the process, like the adapter of the program.
        static std::unique_ptr<ComDevice> port;
        port = makeD2xxPort(path);
        chooseAdapter(port.get());
        return true;
    } catch (const ComDevice::InitializeError&) {
        return false;
    }
}

void startSimulatedSession() {
    simReset();
    theAdapter().close();
    theAdapter().open();
}

void wakeSimulatedUnit() {
    const std::vector<std::uint8_t> preamble(1000, 0x55);
    theAdapter().write(preamble.data(), static_cast<std::uint32_t>(preamble.size()));
}
