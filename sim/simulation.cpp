#include "sim/simulation.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace sim {

namespace {

// VARNEL_SIM_RECORD names a file holding the unit's 85-byte record between runs.
// VARNEL_SIM_FAULT switches one fault on at load time, as "name" or "name:N" where N
// is decimal or 0x-prefixed hexadecimal:
//   no_adapter, open_step:N (1-5), purge, write:N (fails after N good writes), read,
//   no_reply, wrong_marker, bad_checksum, foreign_model:N (0x8C when N is 0),
//   short_reply:N, store_differently:N (record byte N), unplugged:N (after N calls).
constexpr const char* recordVariable = "VARNEL_SIM_RECORD";
constexpr const char* faultVariable = "VARNEL_SIM_FAULT";

struct FaultName {
    const char* name;
    SimFault fault;
};

constexpr auto faultNames = std::to_array<FaultName>({
    {"no_adapter", SIM_FAULT_NO_ADAPTER},
    {"open_step", SIM_FAULT_OPEN_STEP},
    {"purge", SIM_FAULT_PURGE},
    {"write", SIM_FAULT_WRITE},
    {"read", SIM_FAULT_READ},
    {"no_reply", SIM_FAULT_NO_REPLY},
    {"wrong_marker", SIM_FAULT_WRONG_MARKER},
    {"bad_checksum", SIM_FAULT_BAD_CHECKSUM},
    {"foreign_model", SIM_FAULT_FOREIGN_MODEL},
    {"short_reply", SIM_FAULT_SHORT_REPLY},
    {"store_differently", SIM_FAULT_STORE_DIFFERENTLY},
    {"unplugged", SIM_FAULT_UNPLUGGED_AFTER},
});

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

Record startingRecord() {
    Record record = factoryRecord();
    if (const char* path = std::getenv(recordVariable); path != nullptr && *path != '\0') {
        std::ifstream file(path, std::ios::binary);
        Record kept{};
        // Anything but a whole record is ignored, so a damaged file means a fresh unit.
        if (file.read(reinterpret_cast<char*>(kept.data()), kept.size()) &&
            file.peek() == std::char_traits<char>::eof()) {
            record = kept;
        }
    }
    return record;
}

} // namespace

Simulation::Simulation() {
    powerOn();
    if (const char* faultText = std::getenv(faultVariable); faultText != nullptr) {
        const std::string text(faultText);
        const auto colon = text.find(':');
        const std::string name = text.substr(0, colon);
        const int argument = colon == std::string::npos
                                 ? 0
                                 : static_cast<int>(std::strtol(faultText + colon + 1, nullptr, 0));
        for (const auto& entry : faultNames) {
            if (name == entry.name) {
                setFault(entry.fault, argument);
            }
        }
    }
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
    return line.baudRate == 100000 && line.wordLength == d2xx::FT_BITS_8 &&
           line.stopBits == d2xx::FT_STOP_BITS_2 && line.parity == d2xx::FT_PARITY_EVEN;
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
    if (const char* path = std::getenv(recordVariable); path != nullptr && *path != '\0') {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(unit.record().data()),
                   static_cast<std::streamsize>(unit.record().size()));
    }
}

Simulation& simulation() {
    static auto* const instance = new Simulation;
    return *instance;
}

} // namespace sim
