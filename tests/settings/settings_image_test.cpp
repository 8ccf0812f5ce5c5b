#include "settings/settings_image.h"

#include <gtest/gtest.h>

TEST(SettingsImage, StartsZeroWithTheKelvoModelCode) {
    const SettingsImage image;
    for (std::size_t i = 0; i < SettingsImage::size; ++i) {
        EXPECT_EQ(image.raw()[i], i == 1 ? 0x8D : 0) << "byte " << i;
    }
}

TEST(SettingsImage, UnitIdIsBigEndianAndOtherWordsLittleEndian) {
    SettingsImage image;
    image.setUnitId(0x1234);
    image.setTargetRpm(0, 2000);
    image.setGearRatio(0x0320);
    EXPECT_EQ(image.raw()[2], 0x12);
    EXPECT_EQ(image.raw()[3], 0x34);
    EXPECT_EQ(image.raw()[32], 0xD0);
    EXPECT_EQ(image.raw()[33], 0x07);
    EXPECT_EQ(image.raw()[46], 0x20);
    EXPECT_EQ(image.raw()[47], 0x03);
    EXPECT_EQ(image.unitId(), 0x1234);
    EXPECT_EQ(image.targetRpm(0), 2000);
}

TEST(SettingsImage, BlocksStartAtFourAndStepByNine) {
    SettingsImage image;
    image.block(8)[8] = 0xAB;
    image.block(0)[0] = 0xCD;
    EXPECT_EQ(image.raw()[84], 0xAB);
    EXPECT_EQ(image.raw()[4], 0xCD);
}

TEST(SettingsImage, LimitPointSettersClampAndKeepTheirOffsets) {
    struct Case {
        int given;
        std::uint16_t stored;
    };
    for (const Case c : {Case{65536, 65535}, Case{-5, 0}, Case{6208, 6208}, Case{0, 0}}) {
        SettingsImage image;
        image.setLimitPoint1(c.given);
        image.setLimitPoint2(c.given);
        EXPECT_EQ(image.limitPoint1(), c.stored) << c.given;
        EXPECT_EQ(image.raw()[28] | image.raw()[29] << 8, c.stored);
        EXPECT_EQ(image.raw()[26] | image.raw()[27] << 8, c.stored);
    }
}

TEST(SettingsImage, FlagSettersTouchOnlyTheirOwnBits) {
    SettingsImage image;
    image.raw()[78] = 0x36; // unit bits 5, 4, 2, 1
    image.raw()[79] = 0x3E; // unit bits 5-1
    image.raw()[80] = 0xC4; // unit bits 7, 6, 2
    image.setGovernorEnabledBit(true);
    image.setWorkingModeBit(true);
    image.setGovernorSwitchBit(true);
    image.setRpmDisplayModeBit(true);
    image.setThrottleDataMode(2);
    image.setServoTypeBit(true);
    image.setTelemetryBit(true);
    image.setBusModeBit(true);
    image.setCanCommBit(true);
    image.setControlResponse(3);
    EXPECT_EQ(image.raw()[78], 0x36 | 0xC9);
    EXPECT_EQ(image.raw()[79], 0x3E | 0x81);
    EXPECT_EQ(image.raw()[80], 0xC4 | 0x3B);
    image.setGovernorEnabledBit(false);
    image.setWorkingModeBit(false);
    image.setGovernorSwitchBit(false);
    image.setRpmDisplayModeBit(false);
    image.setThrottleDataMode(0);
    image.setServoTypeBit(false);
    image.setTelemetryBit(false);
    image.setBusModeBit(false);
    image.setCanCommBit(false);
    image.setControlResponse(0);
    EXPECT_EQ(image.raw()[78], 0x36);
    EXPECT_EQ(image.raw()[79], 0x3E);
    EXPECT_EQ(image.raw()[80], 0xC4);
}

TEST(SettingsImage, SameSettingsComparesBytesSixToEightyThree) {
    const SettingsImage reference;
    for (std::size_t offset : {0U, 1U, 2U, 3U, 4U, 5U, 84U}) {
        SettingsImage other;
        other.raw()[offset] ^= 0xFF;
        EXPECT_TRUE(other.sameSettings(reference)) << offset;
    }
    for (std::size_t offset : {6U, 40U, 83U}) {
        SettingsImage other;
        other.raw()[offset] ^= 0x01;
        EXPECT_FALSE(other.sameSettings(reference)) << offset;
    }
}
