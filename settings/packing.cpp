#include "settings/packing.h"

#include "settings/panel_values.h"
#include "settings/scales.h"
#include "settings/settings_image.h"

#include <algorithm>

const std::array<ControlResponsePreset, 4> controlResponsePresets{{
    {0, 30}, // Moderate
    {1, 40}, // Middle
    {2, 60}, // Quick
    {3, 10}, // Silent
}};

namespace {

// Clamped, never truncated: a value too wide for its field stores the field's end.
std::uint8_t byteOf(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 0xFF));
}
std::uint16_t wordOf(long long value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0LL, 0xFFFFLL));
}

// Two-button groups: the first button (position 0) stands for a set bit, so an empty
// group (-1) stores a cleared bit, like the second button.
bool firstButton(int position) {
    return position == 0;
}
int positionOf(bool bitSet) {
    return bitSet ? 0 : 1;
}

} // namespace

void packValues(const PanelValues& values, SettingsImage& image) {
    image.setUnitId(wordOf(values.unitId));

    for (std::size_t output = 0; output < values.channelMap.size(); ++output) {
        image.setChannelMap(output, byteOf(values.channelMap[output]));
    }
    image.setKillSwitchChannel(byteOf(values.killSwitchChannel));
    image.setRpmChannel(byteOf(values.rpmChannel));
    image.setGovernorSwitchChannel(byteOf(values.governorSwitchChannel));

    image.setGovernorEnabledBit(firstButton(values.governorEnabled));
    image.setGovernorSwitchBit(firstButton(values.governorSwitch));
    image.setServoTypeBit(firstButton(values.servoType));

    for (std::size_t entry = 0; entry < values.targetRpm.size(); ++entry) {
        image.setTargetRpm(entry, wordOf(values.targetRpm[entry]));
    }
    image.setGearRatio(wordOf(gearRatioToHundredths(values.gearRatio)));

    image.setPoleNumber(byteOf(values.poleNumber));
    image.setStickSwitch(byteOf(values.stickSwitch));
    image.setLowLimitHover(byteOf(values.lowLimitHover));
    image.setLowLimitIdleUp(byteOf(values.lowLimitIdleUp));

    image.setWorkingModeBit(firstButton(values.workingMode));
    image.setRpmDisplayModeBit(firstButton(values.rpmDisplayMode));
    // Not clamped: an empty group (-1) keeps the mode no button stands for (3).
    image.setThrottleDataMode(static_cast<std::uint8_t>(values.throttleDataMode & 0x03));

    image.setFeedForwardCyclic(byteOf(values.feedForwardCyclic));
    image.setRpmUpDelay(byteOf(values.rpmUpDelay));
    image.setRpmDownDelay(byteOf(values.rpmDownDelay));
    image.setStartDelay(byteOf(values.startDelay));

    image.setTelemetryBit(firstButton(values.telemetry));
    image.setBusModeBit(firstButton(values.busMode));
    image.setCanCommBit(firstButton(values.canComm));

    image.setGovernorOnRpm(byteOf(values.governorOnRpm));
    image.setGovernorGain(byteOf(values.governorGain));
}

void unpackImage(const SettingsImage& image, PanelValues& values) {
    values.unitId = image.unitId();

    for (std::size_t output = 0; output < values.channelMap.size(); ++output) {
        values.channelMap[output] = image.channelMap(output);
    }
    values.killSwitchChannel = image.killSwitchChannel();
    values.rpmChannel = image.rpmChannel();
    values.governorSwitchChannel = image.governorSwitchChannel();

    values.governorEnabled = positionOf(image.governorEnabledBit());
    values.governorSwitch = positionOf(image.governorSwitchBit());
    values.servoType = positionOf(image.servoTypeBit());
    values.controlResponse = image.controlResponse();

    for (std::size_t entry = 0; entry < values.targetRpm.size(); ++entry) {
        values.targetRpm[entry] = image.targetRpm(entry);
    }
    values.gearRatio = gearRatioFromHundredths(image.gearRatio());

    values.poleNumber = image.poleNumber();
    values.stickSwitch = image.stickSwitch();
    values.governorGain = image.governorGain();
    values.lowLimitHover = image.lowLimitHover();
    values.lowLimitIdleUp = image.lowLimitIdleUp();

    values.workingMode = positionOf(image.workingModeBit());
    values.rpmDisplayMode = positionOf(image.rpmDisplayModeBit());
    values.throttleDataMode = image.throttleDataMode();

    values.feedForwardCyclic = image.feedForwardCyclic();
    values.rpmUpDelay = image.rpmUpDelay();
    values.rpmDownDelay = image.rpmDownDelay();
    values.startDelay = image.startDelay();
    values.governorOnRpm = image.governorOnRpm();

    values.telemetry = positionOf(image.telemetryBit());
    values.busMode = positionOf(image.busModeBit());
    values.canComm = positionOf(image.canCommBit());

    values.limitPoint1 = servoToDisplay(image.limitPoint1());
    values.limitPoint2 = servoToDisplay(image.limitPoint2());
}

void packControlResponseAndGain(int controlResponse, int governorGain, SettingsImage& image) {
    image.setControlResponse(static_cast<std::uint8_t>(std::clamp(controlResponse, 0, 3)));
    image.setGovernorGain(byteOf(governorGain));
}
