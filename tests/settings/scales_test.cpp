#include "settings/panel_values.h"
#include "settings/scales.h"

#include <gtest/gtest.h>

TEST(servoToDisplay, TellingValuesInsideAndOutsideTheServoRange) {
    struct Case {
        int servoUnits;
        int display;
    };
    const Case cases[] = {
        {2848, 150},
        {3520, 100},
        {4192, 50},
        {4864, 0},
        {5536, 50},
        {6208, 100},
        {6880, 150},
        {0, 361},
        {2816, 151},
        {65535, 4514},
        // the servo slider at 1000 and 1100
        {sliderToServoUnits(1000), 4},
        {sliderToServoUnits(1100), 11},
        // the band edges all read 50
        {sliderToServoUnits(687), 50},
        {sliderToServoUnits(688), 50},
        {sliderToServoUnits(1360), 50},
        {sliderToServoUnits(1361), 50},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(servoToDisplay(c.servoUnits), c.display) << c.servoUnits;
    }
}

TEST(GearRatio, EverySliderPositionSurvivesTheRoundTrip) {
    for (int position = 100; position <= 5000; ++position) {
        PanelValues values;
        storeSliderPosition(values, SliderField::GearRatio, position);
        ASSERT_EQ(sliderPositionFor(values, SliderField::GearRatio), position);
        ASSERT_EQ(gearRatioToHundredths(gearRatioFromHundredths(position)), position);
    }
    EXPECT_EQ(formatGearRatio(gearRatioFromHundredths(113)), "1.13");
    EXPECT_EQ(formatGearRatio(gearRatioFromHundredths(5000)), "50.00");
    EXPECT_EQ(formatGearRatio(gearRatioFromHundredths(65535)), "655.35");
    EXPECT_EQ(formatGearRatio(0.0), "0.00");
}

TEST(SliderTable, EverySettingsSliderDrivesItsOwnField) {
    // Each settings slider must write a distinct field and read back what it wrote.
    PanelValues values;
    int marker = 1;
    for (const SliderScale& setup : sliderScales) {
        if (setup.field == SliderField::Servo) {
            continue;
        }
        const int position = setup.field == SliderField::GearRatio ? 100 * marker : marker;
        storeSliderPosition(values, setup.field, position);
        ++marker;
    }
    marker = 1;
    for (const SliderScale& setup : sliderScales) {
        if (setup.field == SliderField::Servo) {
            continue;
        }
        const int expected = setup.field == SliderField::GearRatio ? 100 * marker : marker;
        EXPECT_EQ(sliderPositionFor(values, setup.field), expected) << int(setup.field);
        ++marker;
    }
    EXPECT_EQ(sliderScale(SliderField::Servo).minimum, 16);
    EXPECT_EQ(sliderScale(SliderField::Servo).maximum, 2032);
    EXPECT_EQ(servoSliderCentre, 1024);
}
