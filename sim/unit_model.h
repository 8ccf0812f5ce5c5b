#pragma once

// Our model of the Kelvo unit's firmware, which nobody has documented: what it makes
// of the bytes that reach it over the line and what it answers.

#include "sim/sim_control.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace sim {

using Record = std::array<std::uint8_t, 85>;

// Factory settings with a unit ID of its own: the record a fresh unit holds.
Record factoryRecord();

// The word that makes the forty big-endian words of record bytes 4 to 83 sum to 0,
// computed over bytes 6 to 83.
std::uint16_t balancingWord(const Record& record);

class UnitModel {
public:
    static constexpr std::size_t preambleLength = 100;
    static constexpr std::size_t requestSize = 17;
    static constexpr std::size_t replySize = 84;
    static constexpr std::size_t servoFrameSize = 25;
    static constexpr std::size_t servoLogCapacity = 100000;

    // Power-on: not awake (read requests go unanswered until the wake-up preamble), not
    // in servo-drive mode, nothing pending, empty log.
    void powerOn(const Record& record);
    void setFault(int fault, int argument);

    // One byte off the line. Whatever the unit answers is appended to `answer`.
    void receive(std::uint8_t byte, std::int64_t nowNs, std::vector<std::uint8_t>& answer);

    const Record& record() const { return stored; }
    void setRecord(const Record& record);
    bool servoDriveOn() const { return servoMode; }
    const std::deque<SimServoFrame>& servoFrames() const { return servoLog; }
    // Increases on every committed write, so the owner knows when to persist.
    std::uint64_t commits() const { return commitCount; }

private:
    void handleRequest(std::vector<std::uint8_t>& answer);
    void handleServoFrame(std::int64_t nowNs);
    void reply(std::vector<std::uint8_t>& answer) const;
    void storeBlock(const std::array<std::uint8_t, requestSize>& built);
    void commit();

    Record stored{};
    Record pending{};
    bool writing = false;
    std::size_t preambleRun = 0;
    bool awake = false;
    bool servoMode = false;
    std::vector<std::uint8_t> frame;
    std::size_t frameLength = 0;
    std::deque<SimServoFrame> servoLog;
    std::uint64_t commitCount = 0;
    int fault = SIM_FAULT_NONE;
    int faultArgument = 0;
};

} // namespace sim
