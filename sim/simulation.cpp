#include "sim/simulation.h"

#include "sim/monotonic_clock.h"
#include "sim/unit_environment.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace sim {

Simulation::Simulation() {
    powerOn();
    const FaultSetting fault = faultFromEnvironment();
    setFault(fault.fault, fault.argument);
}

void Simulation::powerOn() {
    line = SimLineSettings{};
    unit.powerOn(startingRecord());
    written.clear();
    received.clear();
    calls = 0;
    latency = 16;
    setFault(SIM_FAULT_NONE, 0);
    commitsPersisted = unit.commits();
}

void Simulation::setFault(int fault, int argument) {
    currentFault = fault;
    faultArgument = argument;
    callsAtFault = calls;
    writesSinceFault = 0;
    unit.setFault(fault, argument);
}

bool Simulation::countCall() {
    ++calls;
    return currentFault != SIM_FAULT_UNPLUGGED_AFTER ||
           calls <= callsAtFault + static_cast<std::uint64_t>(faultArgument);
}

bool Simulation::writeAllowed() {
    if (currentFault == SIM_FAULT_WRITE && writesSinceFault >= faultArgument) {
        return false;
    }
    ++writesSinceFault;
    return true;
}

bool Simulation::lineUnderstood() const {
    return currentFault != SIM_FAULT_WRONG_LINE && line.baudRate == 100000 &&
           line.wordLength == d2xx::FT_BITS_8 && line.stopBits == d2xx::FT_STOP_BITS_2 &&
           line.parity == d2xx::FT_PARITY_EVEN;
}

void Simulation::transmit(const std::uint8_t* data, std::size_t count) {
    const std::int64_t now = monotonicNs();
    const bool understood = lineUnderstood();
    for (std::size_t i = 0; i < count; ++i) {
        if (written.size() == writtenLogCapacity) {
            written.pop_front();
        }
        written.push_back(data[i]);
        received.push_back(data[i]);
        if (understood) {
            answer.clear();
            unit.receive(data[i], now, answer);
            deliver(answer);
        }
    }
    while (received.size() > receiveCapacity) {
        received.pop_front();
    }
    persist();
}

void Simulation::deliver(const std::vector<std::uint8_t>& reply) {
    if (reply.empty()) {
        return;
    }
    received.insert(received.end(), reply.begin(), reply.end());
    if (currentFault == SIM_FAULT_SHORT_REPLY) {
        // The request's echo and the reply together are cut to N bytes.
        const std::size_t full = UnitModel::requestSize + reply.size();
        const std::size_t keep = static_cast<std::size_t>(std::max(faultArgument, 0));
        if (keep < full) {
            received.resize(received.size() - std::min(full - keep, received.size()));
        }
    }
}

std::size_t Simulation::receive(std::uint8_t* buffer, std::size_t count) {
    const std::size_t taken = std::min(count, received.size());
    std::copy_n(received.begin(), taken, buffer);
    received.erase(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(taken));
    return taken;
}

void Simulation::persist() {
    if (unit.commits() == commitsPersisted) {
        return;
    }
    commitsPersisted = unit.commits();
    persistRecord(unit.record());
}

Simulation& simulation() {
    static auto* const instance = new Simulation;
    return *instance;
}

} // namespace sim
