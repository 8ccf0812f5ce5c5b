#include "settings/field_table.h"

#include "settings/settings_image.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace {

using Image = SettingsImage;

constexpr std::array<FieldChoice, 18> channelChoices{{
    {0, "1"},
    {1, "2"},
    {2, "3"},
    {3, "4"},
    {4, "5"},
    {5, "6"},
    {6, "7"},
    {7, "8"},
    {8, "9"},
    {9, "10"},
    {10, "11"},
    {11, "12"},
    {12, "13"},
    {13, "14"},
    {14, "15"},
    {15, "16"},
    {16, "DG1"},
    {17, "DG2"},
}};
// Labels are the dialog's radio buttons; the first button of a two-button group stands
// for a set bit.
constexpr std::array<FieldChoice, 2> governorUses{{{0, "off", "無効"}, {1, "on", "有効"}}};
constexpr std::array<FieldChoice, 2> activeFlags{{{0, "off", "INH"}, {1, "on", "ACT"}}};
constexpr std::array<FieldChoice, 2> workingModes{
    {{0, "governor", "ガバナーモード"}, {1, "rev_limit", "レブリミットモード"}}};
// The bit is set when the switch is not used.
constexpr std::array<FieldChoice, 2> switchUses{{{0, "used", "有効"}, {1, "unused", "無効"}}};
constexpr std::array<FieldChoice, 2> rpmDisplays{
    {{0, "engine", "エンジン"}, {1, "main_rotor", "メインローター"}}};
// Mode 3 has no name: a unit may hold it, and it is kept, but it cannot be chosen.
constexpr std::array<FieldChoice, 3> throttleDataModes{
    {{0, "optimize", "Optimize"}, {1, "fixed", "Fixed"}, {2, "tx_curve", "Tx.Curve"}}};
constexpr std::array<FieldChoice, 2> servoTypes{
    {{0, "analog", "アナログサーボ"}, {1, "digital", "デジタルサーボ"}}};
constexpr std::array<FieldChoice, 2> busModes{{{0, "rs485", "RS485"}, {1, "sbus2", "S.BUS2"}}};
constexpr std::array<FieldChoice, 4> controlResponses{{{0, "moderate", "Moderate"},
                                                       {1, "middle", "Middle"},
                                                       {2, "quick", "Quick"},
                                                       {3, "silent", "Silent"}}};

constexpr FieldSpec header(const char* key, std::size_t offset, std::size_t width, bool bigEndian,
                           int maximum, const char* label) {
    return {key,
            offset,
            width,
            0xFF,
            bigEndian,
            false,
            FieldKind::Number,
            FieldDisplay::Plain,
            std::nullopt,
            "",
            0,
            maximum,
            {},
            label};
}
constexpr FieldSpec channel(const char* key, std::size_t offset, const char* label) {
    return {
        key,          offset, 1, 0xFF, false,          true, FieldKind::Choice, FieldDisplay::Plain,
        std::nullopt, "",     0, 0,    channelChoices, label};
}
constexpr FieldSpec slider(const char* key, std::size_t offset, std::size_t width,
                           SliderField field, const char* label,
                           FieldDisplay display = FieldDisplay::Plain) {
    return {key,     offset, width, 0xFF, false, true, FieldKind::Number,
            display, field,  "",    0,    0,     {},   label};
}
constexpr FieldSpec limitPoint(const char* key, std::size_t offset, FieldDisplay side,
                               const char* label) {
    // Display 50 is the band edge; a point must lie beyond it to be taken.
    return {key,  offset,       2,  0xFF, false, true, FieldKind::Number,
            side, std::nullopt, "", 50,   150,   {},   label};
}
constexpr FieldSpec choice(const char* key, std::size_t offset, std::uint8_t mask,
                           std::span<const FieldChoice> names, const char* label) {
    return {key,          offset, 1, mask, false, true, FieldKind::Choice, FieldDisplay::Plain,
            std::nullopt, "",     0, 0,    names, label};
}
constexpr FieldSpec flag(const char* key, std::size_t offset, std::uint8_t mask,
                         std::span<const FieldChoice> names, const char* label) {
    return {key,          offset, 1, mask, false, true, FieldKind::Flag, FieldDisplay::Plain,
            std::nullopt, "",     0, 0,    names, label};
}

const std::array fields{
    header("unit.model_code", 1, 1, false, 0xFF, nullptr),
    header("unit.id", Image::unitIdOffset, 2, true, 0xFFFF, "ID"),
    channel("channels.ch1", Image::channelMapOffset + 0, "CH1"),
    channel("channels.ch2", Image::channelMapOffset + 1, "CH2"),
    channel("channels.ch3", Image::channelMapOffset + 2, "CH3"),
    channel("channels.ch4", Image::channelMapOffset + 3, "CH4"),
    channel("channels.ch5", Image::channelMapOffset + 4, "CH5"),
    channel("channels.ch6", Image::channelMapOffset + 5, "CH6"),
    channel("channels.ch7", Image::channelMapOffset + 6, "CH7"),
    channel("channels.ch8", Image::channelMapOffset + 7, "CH8"),
    channel("channels.kill_switch", Image::killSwitchChannelOffset, "キルスイッチ"),
    // Beside its combo the dialog says only "回転数"; standing alone, the name says
    // that it is a channel.
    channel("channels.rpm", Image::rpmChannelOffset, "回転数チャンネル"),
    channel("channels.governor_switch", Image::governorSwitchChannelOffset, "ガバナON/OFF"),
    limitPoint("servo.limit_point_2", Image::limitPoint2Offset, FieldDisplay::ServoLowerSide,
               "リミットポイント2"),
    limitPoint("servo.limit_point_1", Image::limitPoint1Offset, FieldDisplay::ServoUpperSide,
               "リミットポイント1"),
    slider("governor.target_rpm_1", Image::targetRpmOffset + 0, 2, SliderField::TargetRpm0,
           "回転数設定1"),
    slider("governor.target_rpm_2", Image::targetRpmOffset + 2, 2, SliderField::TargetRpm1,
           "回転数設定2"),
    slider("governor.target_rpm_3", Image::targetRpmOffset + 4, 2, SliderField::TargetRpm2,
           "回転数設定3"),
    slider("governor.gear_ratio", Image::gearRatioOffset, 2, SliderField::GearRatio, "ギヤ比設定",
           FieldDisplay::GearRatio),
    slider("governor.pole_number", Image::poleNumberOffset, 1, SliderField::PoleNumber,
           "ポールナンバー"),
    slider("governor.feed_forward_cyclic", Image::feedForwardCyclicOffset, 1,
           SliderField::FeedForwardCyclic, "フィードフォワードサイクリック"),
    slider("governor.gain", Image::governorGainOffset, 1, SliderField::GovernorGain,
           "ガバナーゲイン"),
    slider("governor.on_rpm", Image::governorOnRpmOffset, 1, SliderField::GovernorOnRpm,
           "ガバナーオン回転数設定"),
    slider("throttle.low_limit_idle_up", Image::lowLimitIdleUpOffset, 1,
           SliderField::LowLimitIdleUp, "ローリミットアイドルアップ"),
    slider("governor.rpm_up_delay", Image::rpmUpDelayOffset, 1, SliderField::RpmUpDelay,
           "回転数アップディレー"),
    slider("governor.rpm_down_delay", Image::rpmDownDelayOffset, 1, SliderField::RpmDownDelay,
           "回転数ダウンディレー"),
    slider("governor.start_delay", Image::startDelayOffset, 1, SliderField::StartDelay,
           "スタートディレー"),
    slider("throttle.low_limit_hover", Image::lowLimitHoverOffset, 1, SliderField::LowLimitHover,
           "ローリミットホバリング"),
    flag("governor.enabled", Image::governorFlagsOffset, Image::governorEnabledMask, governorUses,
         "ガバナー動作"),
    choice("governor.mode", Image::governorFlagsOffset, Image::workingModeMask, workingModes,
           "ガバナーワーキングモード"),
    choice("governor.on_off_switch", Image::governorFlagsOffset, Image::governorSwitchMask,
           switchUses, "ガバナーON/OFFスイッチ"),
    choice("governor.rpm_display", Image::governorFlagsOffset, Image::rpmDisplayModeMask,
           rpmDisplays, "回転数表示モード"),
    choice("throttle.data_mode", Image::servoFlagsOffset, Image::throttleDataModeMask,
           throttleDataModes, "スロットルデータモード"),
    choice("servo.type", Image::servoFlagsOffset, Image::servoTypeMask, servoTypes, "サーボ選択"),
    flag("comm.telemetry", Image::communicationFlagsOffset, Image::telemetryMask, activeFlags,
         "テレメトリー"),
    choice("comm.bus", Image::communicationFlagsOffset, Image::busModeMask, busModes, "通信"),
    flag("comm.can", Image::communicationFlagsOffset, Image::canCommMask, activeFlags, "CAN通信"),
    choice("governor.control_response", Image::communicationFlagsOffset, Image::controlResponseMask,
           controlResponses, "制御レスポンス"),
    slider("throttle.stick_switch", Image::stickSwitchOffset, 1, SliderField::StickSwitch,
           "スティックスイッチ"),
};

int shiftOf(std::uint8_t mask) {
    return std::countr_zero(static_cast<unsigned>(mask));
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Display-unit range of a number field.
struct Range {
    int minimum;
    int maximum;
};
Range rangeOf(const FieldSpec& field) {
    if (field.slider) {
        const SliderScale& setup = sliderScale(*field.slider);
        return {setup.minimum, setup.maximum};
    }
    return {field.minimum, field.maximum};
}

std::string numberText(const FieldSpec& field, int value) {
    if (field.display == FieldDisplay::GearRatio) {
        return formatGearRatio(gearRatioFromHundredths(value));
    }
    return std::to_string(value);
}

// The servo units for a display value on the field's side: the slider position nearest
// the centre band whose display value it is, so that the point is one the limit point
// procedure would also take.
std::optional<std::uint32_t> servoUnitsFor(FieldDisplay side, int display) {
    const int step = side == FieldDisplay::ServoUpperSide ? 1 : -1;
    for (int position = servoSliderCentre;
         position >= servoScale.sliderMinimum && position <= servoScale.sliderMaximum;
         position += step) {
        const int units = sliderToServoUnits(position);
        const bool insideBand = units >= limitBandLow && units <= limitBandHigh;
        if (!insideBand && servoToDisplay(units) == display) {
            return static_cast<std::uint32_t>(units);
        }
    }
    return std::nullopt;
}

ParsedValue refused(std::string problem) {
    return {std::nullopt, std::move(problem)};
}

ParsedValue parseNumber(const FieldSpec& field, std::string_view text) {
    const Range range = rangeOf(field);
    const std::string outside =
        "value " + std::string(text) + " is outside " + rangeText(field) + " for " + field.key;
    if (field.display == FieldDisplay::GearRatio) {
        double ratio = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ratio,
                                                  std::chars_format::fixed);
        const double hundredths = ratio * 100.0;
        if (error != std::errc{} || end != text.data() + text.size() ||
            std::abs(hundredths - std::round(hundredths)) > 1e-6) {
            return refused("not a ratio with at most two decimals: " + std::string(text));
        }
        const int value = gearRatioToHundredths(ratio);
        if (value < range.minimum || value > range.maximum) {
            return refused(outside);
        }
        return {static_cast<std::uint32_t>(value), {}};
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        return refused(outside);
    }
    if (error != std::errc{} || end != text.data() + text.size()) {
        return refused("not a whole number: " + std::string(text));
    }
    if (value < range.minimum || value > range.maximum) {
        return refused(outside);
    }
    if (field.display == FieldDisplay::ServoUpperSide ||
        field.display == FieldDisplay::ServoLowerSide) {
        const auto units = servoUnitsFor(field.display, value);
        if (!units) {
            return refused(outside);
        }
        return {*units, {}};
    }
    return {static_cast<std::uint32_t>(value), {}};
}

} // namespace

std::span<const FieldSpec> fieldTable() {
    return fields;
}

const FieldSpec* findField(std::string_view key) {
    for (const FieldSpec& field : fields) {
        if (field.key == key) {
            return &field;
        }
    }
    return nullptr;
}

std::uint32_t storedValue(const SettingsImage& image, const FieldSpec& field) {
    const SettingsImage::Bytes& bytes = image.raw();
    if (field.width == 2) {
        const std::uint32_t first = bytes.at(field.offset);
        const std::uint32_t second = bytes.at(field.offset + 1);
        return field.bigEndian ? first << 8 | second : second << 8 | first;
    }
    return static_cast<std::uint32_t>(bytes.at(field.offset) & field.mask) >> shiftOf(field.mask);
}

void storeValue(SettingsImage& image, const FieldSpec& field, std::uint32_t value) {
    SettingsImage::Bytes& bytes = image.raw();
    if (field.width == 2) {
        const auto high = static_cast<std::uint8_t>(value >> 8 & 0xFF);
        const auto low = static_cast<std::uint8_t>(value & 0xFF);
        bytes.at(field.offset) = field.bigEndian ? high : low;
        bytes.at(field.offset + 1) = field.bigEndian ? low : high;
        return;
    }
    std::uint8_t& byte = bytes.at(field.offset);
    byte = static_cast<std::uint8_t>((byte & ~field.mask) |
                                     ((value << shiftOf(field.mask)) & field.mask));
}

std::string displayText(const FieldSpec& field, std::uint32_t value) {
    for (const FieldChoice& choice : field.choices) {
        if (choice.code == value) {
            return choice.name;
        }
    }
    switch (field.display) {
    case FieldDisplay::GearRatio:
        return formatGearRatio(gearRatioFromHundredths(static_cast<int>(value)));
    case FieldDisplay::ServoUpperSide:
    case FieldDisplay::ServoLowerSide:
        return std::to_string(servoToDisplay(static_cast<std::int32_t>(value)));
    case FieldDisplay::Plain:
        break;
    }
    return std::to_string(value);
}

std::string unitText(const FieldSpec& field) {
    return field.slider ? sliderScale(*field.slider).unit : field.unit;
}

std::string labelText(const FieldSpec& field, std::uint32_t value) {
    for (const FieldChoice& choice : field.choices) {
        if (choice.code == value && choice.label != nullptr) {
            return choice.label;
        }
    }
    std::string text = displayText(field, value);
    if (const std::string unit = unitText(field); !unit.empty()) {
        text += " " + unit;
    }
    return text;
}

std::string rangeText(const FieldSpec& field) {
    if (field.kind != FieldKind::Number) {
        // A run of numbered names reads as one range: "1..16|DG1|DG2".
        std::string names;
        const auto numbered = [&](std::size_t i) {
            return i < field.choices.size() &&
                   std::to_string(field.choices[i].code + 1) == field.choices[i].name;
        };
        for (std::size_t i = 0; i < field.choices.size(); ++i) {
            names += names.empty() ? "" : "|";
            names += field.choices[i].name;
            std::size_t last = i;
            while (numbered(i) && numbered(last + 1)) {
                ++last;
            }
            if (last > i + 1) {
                names += std::string("..") + field.choices[last].name;
                i = last;
            }
        }
        return names;
    }
    const auto [low, high] = numberBounds(field);
    return low + ".." + high;
}

std::pair<std::string, std::string> numberBounds(const FieldSpec& field) {
    const Range range = rangeOf(field);
    return {numberText(field, range.minimum), numberText(field, range.maximum)};
}

ParsedValue parseDisplayText(const FieldSpec& field, std::string_view text) {
    if (!field.isSetting) {
        return refused(std::string(field.key) + " is not a setting and cannot be changed");
    }
    if (field.kind == FieldKind::Number) {
        return parseNumber(field, text);
    }
    for (const FieldChoice& choice : field.choices) {
        if (sameName(choice.name, text)) {
            return {choice.code, {}};
        }
    }
    return refused("value " + std::string(text) + " is not one of " + rangeText(field) + " for " +
                   field.key);
}

std::uint8_t uncoveredBits(std::size_t offset) {
    unsigned covered = 0;
    for (const FieldSpec& field : fields) {
        if (offset >= field.offset && offset < field.offset + field.width) {
            covered |= field.width == 2 ? 0xFFU : field.mask;
        }
    }
    return static_cast<std::uint8_t>(~covered & 0xFFU);
}
