#include "sim/sim_control.h"

#include "sim/simulation.h"

#include <algorithm>

using sim::locked;
using sim::Simulation;

void simReset(void) {
    locked([](Simulation& s) { s.powerOn(); });
}

void simSetFault(int fault, int argument) {
    locked([&](Simulation& s) { s.setFault(fault, argument); });
}

void simGetRecord(std::uint8_t* record85) {
    locked([&](Simulation& s) { std::copy_n(s.unit.record().begin(), 85, record85); });
}

void simSetRecord(const std::uint8_t* record85) {
    sim::Record record{};
    std::copy_n(record85, record.size(), record.begin());
    locked([&](Simulation& s) { s.unit.setRecord(record); });
}

void simGetLineSettings(SimLineSettings* settings) {
    locked([&](const Simulation& s) { *settings = s.line; });
}

std::size_t simGetWrittenBytes(std::uint8_t* buffer, std::size_t capacity) {
    return locked([&](Simulation& s) {
        const std::size_t count = std::min(capacity, s.written.size());
        std::copy_n(s.written.begin(), count, buffer);
        return count;
    });
}

std::size_t simWrittenByteCount(void) {
    return locked([](Simulation& s) { return s.written.size(); });
}

int simServoDriveOn(void) {
    return locked([](Simulation& s) { return s.unit.servoDriveOn() ? 1 : 0; });
}

std::size_t simServoFrameCount(void) {
    return locked([](Simulation& s) { return s.unit.servoFrames().size(); });
}

int simGetServoFrame(std::size_t index, SimServoFrame* frame) {
    return locked([&](Simulation& s) {
        if (index >= s.unit.servoFrames().size()) {
            return 0;
        }
        *frame = s.unit.servoFrames()[index];
        return 1;
    });
}

std::uint64_t simCallCount(void) {
    return locked([](const Simulation& s) { return s.calls; });
}
