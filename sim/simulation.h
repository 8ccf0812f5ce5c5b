#pragma once

// The simulated adapter: one device at index 0 on a half-duplex line to the unit.
// Shared by the D2XX surface and the control API under one lock, since the servo
// timer thread writes while tests read the logs.

#include "device/d2xx/d2xx_types.h"
#include "sim/sim_control.h"
#include "sim/unit_model.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace sim {

class Simulation {
public:
    static constexpr std::size_t receiveCapacity = 1 << 16;
    static constexpr std::size_t writtenLogCapacity = 1 << 20;

    Simulation();

    // Power-on: record from the record file if one is named, else the factory record.
    void powerOn();
    void setFault(int fault, int argument);
    bool faultIs(int fault) const { return currentFault == fault; }
    bool openStepFails(int step) const {
        return currentFault == SIM_FAULT_OPEN_STEP && faultArgument == step;
    }

    // Counts a D2XX call; false once the adapter counts as unplugged.
    bool countCall();
    d2xx::FT_HANDLE handle() { return this; }
    bool isOpen(d2xx::FT_HANDLE candidate) const { return line.open != 0 && candidate == this; }

    // False when the write fault says this write fails.
    bool writeAllowed();
    // Everything written is echoed; the unit hears it only at its own line settings.
    void transmit(const std::uint8_t* data, std::size_t count);
    std::size_t receive(std::uint8_t* buffer, std::size_t count);
    void purgeReceived() { received.clear(); }
    std::size_t queued() const { return received.size(); }

    std::mutex mutex;
    SimLineSettings line{};
    UnitModel unit;
    std::deque<std::uint8_t> written;
    std::uint64_t calls = 0;
    std::uint8_t latency = 16;

private:
    bool lineUnderstood() const;
    void deliver(const std::vector<std::uint8_t>& reply);
    void persist();

    std::deque<std::uint8_t> received;
    std::vector<std::uint8_t> answer;
    int currentFault = SIM_FAULT_NONE;
    int faultArgument = 0;
    std::uint64_t callsAtFault = 0;
    int writesSinceFault = 0;
    std::uint64_t commitsPersisted = 0;
};

// Lives until the process ends and is never destroyed, so that a port closed from a
// static destructor at exit still finds it.
Simulation& simulation();

template <class Body> auto locked(Body body) {
    Simulation& s = simulation();
    std::lock_guard lock(s.mutex);
    return body(s);
}

} // namespace sim
