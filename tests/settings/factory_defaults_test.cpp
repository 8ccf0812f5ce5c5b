#include "settings/factory_defaults.h"
#include "settings/packing.h"
#include "settings/panel_values.h"
#include "settings/scales.h"
#include "settings/settings_image.h"
#include "tests/factory_bytes.h"

#include <gtest/gtest.h>

TEST(FactoryDefaults, FillKeepsHeaderAndLastByte) {
    SettingsImage image;
    image.setUnitId(0xBEEF);
    image.raw()[0] = 0x11;
    image.raw()[84] = 0x22;
    applyFactoryDefaults(image);
    EXPECT_EQ(image.unitId(), 0xBEEF);
    EXPECT_EQ(image.modelCode(), 0x8D);
    EXPECT_EQ(image.raw()[0], 0x11);
    EXPECT_EQ(image.raw()[84], 0x22);
    for (std::size_t i = 0; i < factoryBytes.size(); ++i) {
        EXPECT_EQ(image.raw()[factoryBytesOffset + i], factoryBytes[i])
            << "image byte " << factoryBytesOffset + i;
    }
}

TEST(FactoryDefaults, DecodeToTheFactoryValues) {
    SettingsImage image;
    applyFactoryDefaults(image);
    PanelValues v;
    unpackImage(image, v);
    for (int output = 0; output < 8; ++output) {
        EXPECT_EQ(v.channelMap[output], output);
    }
    EXPECT_EQ(v.killSwitchChannel, 8);
    EXPECT_EQ(v.rpmChannel, 9);
    EXPECT_EQ(v.governorSwitchChannel, 10);
    EXPECT_EQ(image.limitPoint1(), 6208);
    EXPECT_EQ(image.limitPoint2(), 3520);
    EXPECT_EQ(v.limitPoint1, 100);
    EXPECT_EQ(v.limitPoint2, 100);
    EXPECT_EQ(v.targetRpm, (std::array<int, 3>{2000, 1500, 1000}));
    EXPECT_EQ(formatGearRatio(v.gearRatio), "8.00");
    EXPECT_EQ(v.poleNumber, 2);
    EXPECT_EQ(v.feedForwardCyclic, 0);
    EXPECT_EQ(v.governorGain, 40);
    EXPECT_EQ(v.governorOnRpm, 60);
    EXPECT_EQ(v.lowLimitIdleUp, 10);
    EXPECT_EQ(v.rpmUpDelay, 8);
    EXPECT_EQ(v.rpmDownDelay, 10);
    EXPECT_EQ(v.startDelay, 5);
    EXPECT_EQ(v.lowLimitHover, 0);
    EXPECT_EQ(v.stickSwitch, 30);
    EXPECT_EQ(v.governorEnabled, 1);  // "無効"
    EXPECT_EQ(v.workingMode, 1);      // governor mode
    EXPECT_EQ(v.governorSwitch, 1);   // "有効"
    EXPECT_EQ(v.rpmDisplayMode, 1);   // engine
    EXPECT_EQ(v.throttleDataMode, 1); // Fixed
    EXPECT_EQ(v.servoType, 1);        // analogue
    EXPECT_EQ(v.telemetry, 0);        // ACT
    EXPECT_EQ(v.busMode, 0);          // S.BUS2
    EXPECT_EQ(v.canComm, 1);          // INH
    EXPECT_EQ(v.controlResponse, 1);  // Middle, matching the gain of 40
    EXPECT_EQ(controlResponsePresets[v.controlResponse].governorGain, v.governorGain);

    // Every interpreted value lies inside its slider's range.
    for (const SliderScale& setup : sliderScales) {
        if (setup.field == SliderField::Servo) {
            continue;
        }
        const int position = sliderPositionFor(v, setup.field);
        EXPECT_GE(position, setup.minimum) << int(setup.field);
        EXPECT_LE(position, setup.maximum) << int(setup.field);
    }
}
