#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The unit's complete settings record: a 4-byte header and nine 9-byte blocks.
// Every byte keeps its place here exactly as the unit, the request frames and the
// settings files carry it; bytes the program does not interpret travel unchanged.
class SettingsImage {
public:
    static constexpr std::size_t size = 85;
    static constexpr std::size_t blockCount = 9;
    static constexpr std::size_t blockSize = 9;
    static constexpr std::size_t firstBlockOffset = 4;
    static constexpr std::uint8_t kelvoModelCode = 0x8D;

    // The span the verification and the close confirmation compare: bytes 4-5 hold the
    // unit's reply checksum word and byte 84 is never carried by a reply.
    static constexpr std::size_t verifyFirst = 6;
    static constexpr std::size_t verifyLast = 83;

    // Offsets of the two flag bytes' neighbours and of every interpreted field.
    static constexpr std::size_t unitIdOffset = 2;
    static constexpr std::size_t channelMapOffset = 6;
    static constexpr std::size_t killSwitchChannelOffset = 14;
    static constexpr std::size_t rpmChannelOffset = 15;
    static constexpr std::size_t governorSwitchChannelOffset = 16;
    static constexpr std::size_t limitPoint2Offset = 26;
    static constexpr std::size_t limitPoint1Offset = 28;
    static constexpr std::size_t targetRpmOffset = 32;
    static constexpr std::size_t gearRatioOffset = 46;
    static constexpr std::size_t poleNumberOffset = 50;
    static constexpr std::size_t feedForwardCyclicOffset = 51;
    static constexpr std::size_t governorGainOffset = 60;
    static constexpr std::size_t governorOnRpmOffset = 69;
    static constexpr std::size_t lowLimitIdleUpOffset = 71;
    static constexpr std::size_t rpmUpDelayOffset = 73;
    static constexpr std::size_t rpmDownDelayOffset = 74;
    static constexpr std::size_t startDelayOffset = 76;
    static constexpr std::size_t lowLimitHoverOffset = 77;
    static constexpr std::size_t governorFlagsOffset = 78;
    static constexpr std::size_t servoFlagsOffset = 79;
    static constexpr std::size_t communicationFlagsOffset = 80;
    static constexpr std::size_t stickSwitchOffset = 82;

    // The bits of the three flag bytes the program interprets; every other bit of those
    // bytes belongs to the unit and is kept.
    static constexpr std::uint8_t governorEnabledMask = 0x80; // governor flags
    static constexpr std::uint8_t workingModeMask = 0x40;
    static constexpr std::uint8_t governorSwitchMask = 0x08;
    static constexpr std::uint8_t rpmDisplayModeMask = 0x01;
    static constexpr std::uint8_t throttleDataModeMask = 0xC0; // servo flags
    static constexpr std::uint8_t servoTypeMask = 0x01;
    static constexpr std::uint8_t telemetryMask = 0x20; // communication flags
    static constexpr std::uint8_t busModeMask = 0x10;
    static constexpr std::uint8_t canCommMask = 0x08;
    static constexpr std::uint8_t controlResponseMask = 0x03;

    using Bytes = std::array<std::uint8_t, size>;

    // All zero except the model code.
    SettingsImage();

    Bytes& raw() { return bytes; }
    const Bytes& raw() const { return bytes; }
    std::span<std::uint8_t, blockSize> block(std::size_t k);
    std::span<const std::uint8_t, blockSize> block(std::size_t k) const;

    std::uint8_t modelCode() const { return bytes[1]; }
    void setModelCode(std::uint8_t code) { bytes[1] = code; }
    // The only big-endian field of the record.
    std::uint16_t unitId() const;
    void setUnitId(std::uint16_t id);

    // Channel codes: 0..15 are channels 1 to 16, 16 is DG1, 17 is DG2.
    std::uint8_t channelMap(std::size_t output) const;
    void setChannelMap(std::size_t output, std::uint8_t code);
    std::uint8_t killSwitchChannel() const { return bytes[killSwitchChannelOffset]; }
    void setKillSwitchChannel(std::uint8_t code) { bytes[killSwitchChannelOffset] = code; }
    std::uint8_t rpmChannel() const { return bytes[rpmChannelOffset]; }
    void setRpmChannel(std::uint8_t code) { bytes[rpmChannelOffset] = code; }
    std::uint8_t governorSwitchChannel() const { return bytes[governorSwitchChannelOffset]; }
    void setGovernorSwitchChannel(std::uint8_t code) { bytes[governorSwitchChannelOffset] = code; }

    // Servo units (2 x S.BUS value + 2816). Point 1 is the higher of the two.
    std::uint16_t limitPoint1() const { return word(limitPoint1Offset); }
    std::uint16_t limitPoint2() const { return word(limitPoint2Offset); }
    // Clamp to 0..65535 themselves, unlike the other setters.
    void setLimitPoint1(int servoUnits);
    void setLimitPoint2(int servoUnits);

    std::uint16_t targetRpm(std::size_t entry) const;
    void setTargetRpm(std::size_t entry, std::uint16_t rpm);
    // Hundredths: 800 is a ratio of 8.00.
    std::uint16_t gearRatio() const { return word(gearRatioOffset); }
    void setGearRatio(std::uint16_t hundredths) { setWord(gearRatioOffset, hundredths); }

    std::uint8_t poleNumber() const { return bytes[poleNumberOffset]; }
    void setPoleNumber(std::uint8_t v) { bytes[poleNumberOffset] = v; }
    std::uint8_t feedForwardCyclic() const { return bytes[feedForwardCyclicOffset]; }
    void setFeedForwardCyclic(std::uint8_t v) { bytes[feedForwardCyclicOffset] = v; }
    std::uint8_t governorGain() const { return bytes[governorGainOffset]; }
    void setGovernorGain(std::uint8_t v) { bytes[governorGainOffset] = v; }
    std::uint8_t governorOnRpm() const { return bytes[governorOnRpmOffset]; }
    void setGovernorOnRpm(std::uint8_t v) { bytes[governorOnRpmOffset] = v; }
    std::uint8_t lowLimitIdleUp() const { return bytes[lowLimitIdleUpOffset]; }
    void setLowLimitIdleUp(std::uint8_t v) { bytes[lowLimitIdleUpOffset] = v; }
    std::uint8_t rpmUpDelay() const { return bytes[rpmUpDelayOffset]; }
    void setRpmUpDelay(std::uint8_t v) { bytes[rpmUpDelayOffset] = v; }
    std::uint8_t rpmDownDelay() const { return bytes[rpmDownDelayOffset]; }
    void setRpmDownDelay(std::uint8_t v) { bytes[rpmDownDelayOffset] = v; }
    std::uint8_t startDelay() const { return bytes[startDelayOffset]; }
    void setStartDelay(std::uint8_t v) { bytes[startDelayOffset] = v; }
    std::uint8_t lowLimitHover() const { return bytes[lowLimitHoverOffset]; }
    void setLowLimitHover(std::uint8_t v) { bytes[lowLimitHoverOffset] = v; }
    std::uint8_t stickSwitch() const { return bytes[stickSwitchOffset]; }
    void setStickSwitch(std::uint8_t v) { bytes[stickSwitchOffset] = v; }

    // Flag fields, as the bits stand in the image. Each setter rewrites only its own
    // bits, so bits the unit keeps for itself survive.
    bool governorEnabledBit() const { return bit(governorFlagsOffset, governorEnabledMask); }
    void setGovernorEnabledBit(bool on) { setBit(governorFlagsOffset, governorEnabledMask, on); }
    bool workingModeBit() const { return bit(governorFlagsOffset, workingModeMask); }
    void setWorkingModeBit(bool on) { setBit(governorFlagsOffset, workingModeMask, on); }
    bool governorSwitchBit() const { return bit(governorFlagsOffset, governorSwitchMask); }
    void setGovernorSwitchBit(bool on) { setBit(governorFlagsOffset, governorSwitchMask, on); }
    bool rpmDisplayModeBit() const { return bit(governorFlagsOffset, rpmDisplayModeMask); }
    void setRpmDisplayModeBit(bool on) { setBit(governorFlagsOffset, rpmDisplayModeMask, on); }
    std::uint8_t throttleDataMode() const;       // 0..3
    void setThrottleDataMode(std::uint8_t mode); // low two bits only
    bool servoTypeBit() const { return bit(servoFlagsOffset, servoTypeMask); }
    void setServoTypeBit(bool on) { setBit(servoFlagsOffset, servoTypeMask, on); }
    bool telemetryBit() const { return bit(communicationFlagsOffset, telemetryMask); }
    void setTelemetryBit(bool on) { setBit(communicationFlagsOffset, telemetryMask, on); }
    bool busModeBit() const { return bit(communicationFlagsOffset, busModeMask); }
    void setBusModeBit(bool on) { setBit(communicationFlagsOffset, busModeMask, on); }
    bool canCommBit() const { return bit(communicationFlagsOffset, canCommMask); }
    void setCanCommBit(bool on) { setBit(communicationFlagsOffset, canCommMask, on); }
    std::uint8_t controlResponse() const;       // 0..3
    void setControlResponse(std::uint8_t code); // low two bits only

    // True when bytes 6 to 83 of both images are equal.
    bool sameSettings(const SettingsImage& other) const;

    bool operator==(const SettingsImage&) const = default;

private:
    std::uint16_t word(std::size_t offset) const;
    void setWord(std::size_t offset, std::uint16_t value);
    bool bit(std::size_t offset, std::uint8_t mask) const { return (bytes[offset] & mask) != 0; }
    void setBit(std::size_t offset, std::uint8_t mask, bool on);

    Bytes bytes{};
};
