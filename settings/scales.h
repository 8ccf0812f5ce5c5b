#pragma once

#include <array>
#include <cstdint>
#include <string>

struct PanelValues;

// Which PanelValues field a slider drives.
enum class SliderField {
    TargetRpm0,
    TargetRpm1,
    TargetRpm2,
    GearRatio,
    PoleNumber,
    StickSwitch,
    GovernorGain,
    LowLimitHover,
    LowLimitIdleUp,
    FeedForwardCyclic,
    RpmUpDelay,
    RpmDownDelay,
    StartDelay,
    GovernorOnRpm,
    Servo,
};

// The range and ticks of the slider that shows a field.
struct SliderScale {
    SliderField field;
    int minimum;
    int maximum;
    int tickSpacing;
    const char* unit; // empty for the servo slider, which has no unit label
};

// One scale per slider field.
extern const std::array<SliderScale, 15> sliderScales;
const SliderScale& sliderScale(SliderField field);

// The six constants the servo scale rests on.
struct ServoScale {
    int unitsAtMinimum = 2848;
    int unitsAtMaximum = 6880;
    int displayAtMinimum = -150;
    int displayAtMaximum = 150;
    int sliderMinimum = 16;
    int sliderMaximum = 2032;
};
inline constexpr ServoScale servoScale{};
inline constexpr int servoSliderCentre = (servoScale.sliderMinimum + servoScale.sliderMaximum) / 2;

// Servo units a limit point must lie outside of, both ends included (slider 688 to
// 1360, display 50 on either side).
inline constexpr int limitBandLow = 4192;
inline constexpr int limitBandHigh = 5536;

// S.BUS channel value (slider position) to servo units.
constexpr int sliderToServoUnits(int sliderPosition) {
    return sliderPosition * 2 + 2816;
}

// Servo units to the unsigned 0..150 display scale; the side is shown by the labels.
int servoToDisplay(std::int32_t servoUnits);

// Gear ratio: the slider and the image hold hundredths, the panel the ratio itself.
double gearRatioFromHundredths(int hundredths);
int gearRatioToHundredths(double ratio);
std::string formatGearRatio(double ratio); // two decimals, a point whatever the locale

// A slider position from its field (the gear ratio in hundredths), and back. The
// servo slider is handled by the limit point code and is not covered here.
int sliderPositionFor(const PanelValues& values, SliderField field);
void storeSliderPosition(PanelValues& values, SliderField field, int position);
