// The simulated unit takes any byte stream off the line, under any fault, without
// misbehaving, and answers only in whole replies.

#include "sim/unit_model.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Byte 0: the fault switch and whether the wake-up preamble goes first, which a
    // fuzzer would hardly find by itself; byte 1: the fault's argument.
    const int fault = (data[0] & 0x7F) % (SIM_FAULT_UNPLUGGED_AFTER + 1);
    const bool wakeUp = (data[0] & 0x80) != 0;

    sim::UnitModel unit;
    unit.powerOn(sim::factoryRecord());
    unit.setFault(fault, data[1]);
    std::vector<std::uint8_t> answer;
    std::int64_t nowNs = 0;
    if (wakeUp) {
        for (std::size_t i = 0; i < sim::UnitModel::preambleLength; ++i) {
            unit.receive(0x55, nowNs, answer);
        }
    }
    for (std::size_t i = 2; i < size; ++i) {
        nowNs += 100'000;
        unit.receive(data[i], nowNs, answer);
    }
    if (answer.size() % sim::UnitModel::replySize != 0) {
        std::abort();
    }
    // The unit's record always balances, whatever it was sent.
    const sim::Record& record = unit.record();
    const auto stored = static_cast<std::uint16_t>((record[4] << 8) | record[5]);
    if (stored != sim::balancingWord(record) || record[0] != 0 || record[84] != 0) {
        std::abort();
    }
    return 0;
}
