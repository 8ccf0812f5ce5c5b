#include "sim/unit_line.h"

#include "sim/monotonic_clock.h"
#include "sim/unit_environment.h"

#include <algorithm>
#include <ctime>

namespace sim {

UnitLine::UnitLine() {
    model.powerOn(startingRecord());
    commitsPersisted = model.commits();
    const FaultSetting setting = faultFromEnvironment();
    setFault(setting.fault, setting.argument);
}

void UnitLine::setFault(int newFault, int argument) {
    fault = newFault;
    faultArgument = argument;
    receivedAtFault = receivedCount;
    model.setFault(newFault, argument);
}

bool UnitLine::receive(const std::uint8_t* data, std::size_t count, bool settingsMatch,
                       std::vector<std::uint8_t>& out) {
    if (fault == SIM_FAULT_UNPLUGGED_AFTER) {
        const auto left =
            receivedAtFault + static_cast<std::uint64_t>(faultArgument) - receivedCount;
        if (count >= left) {
            receivedCount += left;
            return false;
        }
    }
    receivedCount += count;

    lastUnderstood = settingsMatch && fault != SIM_FAULT_WRONG_LINE;
    const std::int64_t now = monotonicNs();
    std::vector<std::uint8_t> answer;
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(data[i]);
        if (!lastUnderstood) {
            continue;
        }
        answer.clear();
        model.receive(data[i], now, answer);
        if (answer.empty()) {
            continue;
        }
        // The echo of the request and the reply together are cut to N bytes.
        if (fault == SIM_FAULT_SHORT_REPLY) {
            const std::size_t full = UnitModel::requestSize + answer.size();
            const auto keep = static_cast<std::size_t>(std::max(faultArgument, 0));
            const std::size_t drop =
                keep < full ? std::min(full - keep, answer.size() + out.size()) : 0;
            const std::size_t fromAnswer = std::min(drop, answer.size());
            answer.resize(answer.size() - fromAnswer);
            out.resize(out.size() - std::min(drop - fromAnswer, out.size()));
        }
        out.insert(out.end(), answer.begin(), answer.end());
    }
    if (model.commits() != commitsPersisted) {
        commitsPersisted = model.commits();
        persistRecord(model.record());
    }
    return true;
}

} // namespace sim
