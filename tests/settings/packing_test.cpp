#include "settings/packing.h"
#include "settings/panel_values.h"
#include "settings/scales.h"
#include "settings/settings_image.h"

#include <gtest/gtest.h>

namespace {

// An image as a unit may send it: unit-data bits set in every flag byte.
SettingsImage unitImage() {
    SettingsImage image;
    image.raw()[78] = 0x36;
    image.raw()[79] = 0x3E | 0xC0; // throttle data mode 3, which no button stands for
    image.raw()[80] = 0xC4 | 0x02;
    for (std::size_t offset : {17U, 30U, 48U, 55U, 70U, 81U, 83U}) {
        image.raw()[offset] = static_cast<std::uint8_t>(0xA0 + offset);
    }
    image.setLimitPoint1(6000);
    image.setLimitPoint2(3600);
    image.raw()[4] = 0x12;
    image.raw()[5] = 0x34;
    return image;
}

} // namespace

TEST(Packing, UnpackThenPackChangesNothing) {
    SettingsImage image = unitImage();
    image.setGearRatio(113);
    image.setGovernorGain(55);
    const SettingsImage before = image;
    PanelValues values;
    for (int round = 0; round < 5; ++round) {
        unpackImage(image, values);
        packValues(values, image);
    }
    EXPECT_EQ(image, before);
    EXPECT_EQ(values.throttleDataMode, 3);
    EXPECT_DOUBLE_EQ(values.gearRatio, 1.13);
}

TEST(Packing, KeptBitsSurviveEveryChoiceOfTheButtons) {
    SettingsImage image = unitImage();
    PanelValues values;
    unpackImage(image, values);
    for (int position : {0, 1, -1, 0}) {
        values.governorEnabled = values.governorSwitch = values.servoType = position;
        values.workingMode = values.rpmDisplayMode = position;
        values.telemetry = values.busMode = values.canComm = position;
        values.throttleDataMode = position;
        packValues(values, image);
        EXPECT_EQ(image.raw()[78] & 0x36, 0x36);
        EXPECT_EQ(image.raw()[79] & 0x3E, 0x3E);
        EXPECT_EQ(image.raw()[80] & 0xC7, 0xC6) << "control response must not be packed";
    }
}

TEST(Packing, TwoButtonGroupsStoreTheirFirstButtonAsASetBit) {
    struct Case {
        int position;
        bool bit;
    };
    for (const Case c : {Case{0, true}, Case{1, false}, Case{-1, false}}) {
        PanelValues values;
        values.governorEnabled = values.governorSwitch = values.servoType = c.position;
        values.workingMode = values.rpmDisplayMode = c.position;
        values.telemetry = values.busMode = values.canComm = c.position;
        SettingsImage image;
        packValues(values, image);
        EXPECT_EQ(image.governorEnabledBit(), c.bit) << c.position;
        EXPECT_EQ(image.governorSwitchBit(), c.bit);
        EXPECT_EQ(image.servoTypeBit(), c.bit);
        EXPECT_EQ(image.workingModeBit(), c.bit);
        EXPECT_EQ(image.rpmDisplayModeBit(), c.bit);
        EXPECT_EQ(image.telemetryBit(), c.bit);
        EXPECT_EQ(image.busModeBit(), c.bit);
        EXPECT_EQ(image.canCommBit(), c.bit);
        PanelValues back;
        unpackImage(image, back);
        EXPECT_EQ(back.governorEnabled, c.bit ? 0 : 1);
    }
}

TEST(Packing, ThrottleDataModeStoresItsLowTwoBits) {
    for (const auto& [position, stored] : {std::pair{0, 0}, {1, 1}, {2, 2}, {-1, 3}}) {
        PanelValues values;
        values.throttleDataMode = position;
        SettingsImage image;
        packValues(values, image);
        EXPECT_EQ(image.throttleDataMode(), stored) << position;
    }
}

TEST(Packing, ValuesAreClampedNeverTruncated) {
    PanelValues high;
    high.unitId = 70000;
    high.channelMap.fill(300);
    high.killSwitchChannel = high.rpmChannel = high.governorSwitchChannel = 256;
    high.targetRpm = {70000, 65536, 5000};
    high.gearRatio = 700.0;
    high.poleNumber = high.stickSwitch = high.lowLimitHover = high.lowLimitIdleUp = 1000;
    high.feedForwardCyclic = high.rpmUpDelay = high.rpmDownDelay = high.startDelay = 256;
    high.governorOnRpm = high.governorGain = 300;
    SettingsImage image;
    packValues(high, image);
    EXPECT_EQ(image.unitId(), 65535);
    EXPECT_EQ(image.channelMap(0), 255);
    EXPECT_EQ(image.governorSwitchChannel(), 255);
    EXPECT_EQ(image.targetRpm(0), 65535);
    EXPECT_EQ(image.targetRpm(1), 65535);
    EXPECT_EQ(image.targetRpm(2), 5000) << "values beyond the slider range are kept";
    EXPECT_EQ(image.gearRatio(), 65535);
    EXPECT_EQ(image.poleNumber(), 255);
    EXPECT_EQ(image.startDelay(), 255);
    EXPECT_EQ(image.governorOnRpm(), 255);
    EXPECT_EQ(image.governorGain(), 255);

    PanelValues low;
    low.channelMap.fill(-1); // a combo with nothing selected
    low.killSwitchChannel = low.rpmChannel = low.governorSwitchChannel = -1;
    low.targetRpm = {-1, -70000, 0};
    low.gearRatio = -3.0;
    low.poleNumber = low.governorGain = -7;
    image = SettingsImage{};
    image.raw().fill(0xEE);
    packValues(low, image);
    EXPECT_EQ(image.channelMap(0), 0);
    EXPECT_EQ(image.channelMap(7), 0);
    EXPECT_EQ(image.killSwitchChannel(), 0);
    EXPECT_EQ(image.targetRpm(0), 0);
    EXPECT_EQ(image.targetRpm(1), 0);
    EXPECT_EQ(image.gearRatio(), 0);
    EXPECT_EQ(image.poleNumber(), 0);
    EXPECT_EQ(image.governorGain(), 0);
}

TEST(Packing, LeavesHeaderChecksumSlotLimitPointsAndUnitDataAlone) {
    SettingsImage image = unitImage();
    const SettingsImage before = image;
    packValues(PanelValues{}, image);
    for (std::size_t offset :
         {0U, 1U, 4U, 5U, 17U, 26U, 27U, 28U, 29U, 30U, 48U, 55U, 70U, 81U, 83U, 84U}) {
        EXPECT_EQ(image.raw()[offset], before.raw()[offset]) << offset;
    }
}

TEST(Packing, UnpackedLimitPointsUseTheDisplayScale) {
    SettingsImage image;
    image.setLimitPoint1(5616);
    image.setLimitPoint2(4016);
    PanelValues values;
    values.servoPosition = 77;
    unpackImage(image, values);
    EXPECT_EQ(values.limitPoint1, 56);
    EXPECT_EQ(values.limitPoint2, 63);
    EXPECT_EQ(values.servoPosition, 77) << "only the servo slider sets the servo position";
}

TEST(Packing, ChannelCodesBeyondTheListReadBackAsTheyStand) {
    SettingsImage image;
    image.setChannelMap(3, 18);
    image.setKillSwitchChannel(200);
    PanelValues values;
    unpackImage(image, values);
    EXPECT_EQ(values.channelMap[3], 18);
    EXPECT_EQ(values.killSwitchChannel, 200);
}

TEST(ControlResponse, WriteClampsCodeAndGainAndKeepsTheOtherBits) {
    struct Case {
        int code;
        int gain;
        int storedCode;
        int storedGain;
    };
    for (const Case c : {Case{5, 300, 3, 255}, Case{-1, -4, 0, 0}, Case{2, 60, 2, 60}}) {
        SettingsImage image;
        image.raw()[80] = 0xFC;
        packControlResponseAndGain(c.code, c.gain, image);
        EXPECT_EQ(image.controlResponse(), c.storedCode);
        EXPECT_EQ(image.governorGain(), c.storedGain);
        EXPECT_EQ(image.raw()[80] & 0xFC, 0xFC);
    }
    EXPECT_EQ(controlResponsePresets[1].governorGain, 40);
    EXPECT_EQ(controlResponsePresets[3].governorGain, 10);
}
