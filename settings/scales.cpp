#include "settings/scales.h"

#include "settings/panel_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

const std::array<SliderScale, 15> sliderScales{{
    {SliderField::TargetRpm0, 700, 4000, 1000, "rpm"},
    {SliderField::TargetRpm1, 700, 4000, 1000, "rpm"},
    {SliderField::TargetRpm2, 700, 4000, 1000, "rpm"},
    {SliderField::GearRatio, 100, 5000, 1000, "t"},
    {SliderField::PoleNumber, 2, 24, 1, "p"},
    {SliderField::StickSwitch, 0, 100, 10, "%"},
    {SliderField::GovernorGain, 10, 100, 10, "%"},
    {SliderField::LowLimitHover, 0, 80, 10, "%"},
    {SliderField::LowLimitIdleUp, 10, 80, 10, "%"},
    {SliderField::FeedForwardCyclic, 0, 100, 10, "%"},
    {SliderField::RpmUpDelay, 2, 20, 10, "Frm"},
    {SliderField::RpmDownDelay, 2, 20, 10, "Frm"},
    {SliderField::StartDelay, 2, 20, 10, "Frm"},
    {SliderField::GovernorOnRpm, 50, 90, 10, "%"},
    {SliderField::Servo, servoScale.sliderMinimum, servoScale.sliderMaximum, 224, ""},
}};

const SliderScale& sliderScale(SliderField field) {
    for (const SliderScale& scale : sliderScales) {
        if (scale.field == field) {
            return scale;
        }
    }
    throw std::out_of_range("slider field");
}

int servoToDisplay(std::int32_t servoUnits) {
    // Integer arithmetic truncating toward zero, multiplication first, exactly as the
    // unit's own display does; the values shown must match what the unit reports.
    const std::int32_t unitSpan = servoScale.unitsAtMaximum - servoScale.unitsAtMinimum;
    const std::int32_t displaySpan = servoScale.displayAtMaximum - servoScale.displayAtMinimum;
    const std::int32_t tenths =
        (servoUnits - servoScale.unitsAtMinimum) * displaySpan * 10 / unitSpan;
    const std::int32_t rounded = (tenths + 5) / 10;
    return std::abs(rounded + servoScale.displayAtMinimum);
}

double gearRatioFromHundredths(int hundredths) {
    return hundredths / 100.0;
}

int gearRatioToHundredths(double ratio) {
    return static_cast<int>(std::lround(ratio * 100.0));
}

std::string formatGearRatio(double ratio) {
    // Always a decimal point: printf would follow a locale's decimal comma.
    std::array<char, 32> text{};
    const auto end =
        std::to_chars(text.data(), text.data() + text.size(), ratio, std::chars_format::fixed, 2);
    return {text.data(), end.ptr};
}

namespace {

// The integer field a slider drives; the gear ratio and the servo have none.
template <class Values>
auto integerField(Values& values, SliderField field) -> decltype(&values.poleNumber) {
    switch (field) {
    case SliderField::TargetRpm0:
        return &values.targetRpm[0];
    case SliderField::TargetRpm1:
        return &values.targetRpm[1];
    case SliderField::TargetRpm2:
        return &values.targetRpm[2];
    case SliderField::PoleNumber:
        return &values.poleNumber;
    case SliderField::StickSwitch:
        return &values.stickSwitch;
    case SliderField::GovernorGain:
        return &values.governorGain;
    case SliderField::LowLimitHover:
        return &values.lowLimitHover;
    case SliderField::LowLimitIdleUp:
        return &values.lowLimitIdleUp;
    case SliderField::FeedForwardCyclic:
        return &values.feedForwardCyclic;
    case SliderField::RpmUpDelay:
        return &values.rpmUpDelay;
    case SliderField::RpmDownDelay:
        return &values.rpmDownDelay;
    case SliderField::StartDelay:
        return &values.startDelay;
    case SliderField::GovernorOnRpm:
        return &values.governorOnRpm;
    case SliderField::GearRatio:
    case SliderField::Servo:
        break;
    }
    return nullptr;
}

} // namespace

int sliderPositionFor(const PanelValues& values, SliderField field) {
    if (field == SliderField::GearRatio) {
        return gearRatioToHundredths(values.gearRatio);
    }
    const int* target = integerField(values, field);
    if (target == nullptr) {
        throw std::invalid_argument("the servo slider has no settings field");
    }
    return *target;
}

void storeSliderPosition(PanelValues& values, SliderField field, int position) {
    if (field == SliderField::GearRatio) {
        values.gearRatio = gearRatioFromHundredths(position);
        return;
    }
    int* target = integerField(values, field);
    if (target == nullptr) {
        throw std::invalid_argument("the servo slider has no settings field");
    }
    *target = position;
}
