#include "settings/field_table.h"
#include "settings/scales.h"
#include "settings/settings_image.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

// What the image's own accessors say a key reads; the table must agree with them.
const std::map<std::string, std::function<std::uint32_t(const SettingsImage&)>> accessors{
    {"unit.model_code", [](const SettingsImage& i) { return i.modelCode(); }},
    {"unit.id", [](const SettingsImage& i) { return i.unitId(); }},
    {"channels.ch1", [](const SettingsImage& i) { return i.channelMap(0); }},
    {"channels.ch2", [](const SettingsImage& i) { return i.channelMap(1); }},
    {"channels.ch3", [](const SettingsImage& i) { return i.channelMap(2); }},
    {"channels.ch4", [](const SettingsImage& i) { return i.channelMap(3); }},
    {"channels.ch5", [](const SettingsImage& i) { return i.channelMap(4); }},
    {"channels.ch6", [](const SettingsImage& i) { return i.channelMap(5); }},
    {"channels.ch7", [](const SettingsImage& i) { return i.channelMap(6); }},
    {"channels.ch8", [](const SettingsImage& i) { return i.channelMap(7); }},
    {"channels.kill_switch", [](const SettingsImage& i) { return i.killSwitchChannel(); }},
    {"channels.rpm", [](const SettingsImage& i) { return i.rpmChannel(); }},
    {"channels.governor_switch", [](const SettingsImage& i) { return i.governorSwitchChannel(); }},
    {"servo.limit_point_1", [](const SettingsImage& i) { return i.limitPoint1(); }},
    {"servo.limit_point_2", [](const SettingsImage& i) { return i.limitPoint2(); }},
    {"governor.target_rpm_1", [](const SettingsImage& i) { return i.targetRpm(0); }},
    {"governor.target_rpm_2", [](const SettingsImage& i) { return i.targetRpm(1); }},
    {"governor.target_rpm_3", [](const SettingsImage& i) { return i.targetRpm(2); }},
    {"governor.gear_ratio", [](const SettingsImage& i) { return i.gearRatio(); }},
    {"governor.pole_number", [](const SettingsImage& i) { return i.poleNumber(); }},
    {"governor.feed_forward_cyclic", [](const SettingsImage& i) { return i.feedForwardCyclic(); }},
    {"governor.gain", [](const SettingsImage& i) { return i.governorGain(); }},
    {"governor.on_rpm", [](const SettingsImage& i) { return i.governorOnRpm(); }},
    {"throttle.low_limit_idle_up", [](const SettingsImage& i) { return i.lowLimitIdleUp(); }},
    {"governor.rpm_up_delay", [](const SettingsImage& i) { return i.rpmUpDelay(); }},
    {"governor.rpm_down_delay", [](const SettingsImage& i) { return i.rpmDownDelay(); }},
    {"governor.start_delay", [](const SettingsImage& i) { return i.startDelay(); }},
    {"throttle.low_limit_hover", [](const SettingsImage& i) { return i.lowLimitHover(); }},
    {"governor.enabled", [](const SettingsImage& i) { return i.governorEnabledBit(); }},
    {"governor.mode", [](const SettingsImage& i) { return i.workingModeBit(); }},
    {"governor.on_off_switch", [](const SettingsImage& i) { return i.governorSwitchBit(); }},
    {"governor.rpm_display", [](const SettingsImage& i) { return i.rpmDisplayModeBit(); }},
    {"throttle.data_mode", [](const SettingsImage& i) { return i.throttleDataMode(); }},
    {"servo.type", [](const SettingsImage& i) { return i.servoTypeBit(); }},
    {"comm.telemetry", [](const SettingsImage& i) { return i.telemetryBit(); }},
    {"comm.bus", [](const SettingsImage& i) { return i.busModeBit(); }},
    {"comm.can", [](const SettingsImage& i) { return i.canCommBit(); }},
    {"governor.control_response", [](const SettingsImage& i) { return i.controlResponse(); }},
    {"throttle.stick_switch", [](const SettingsImage& i) { return i.stickSwitch(); }},
};

std::uint32_t widest(const FieldSpec& field) {
    if (field.width == 2) {
        return 0xFFFF;
    }
    return field.mask >> std::countr_zero(static_cast<unsigned>(field.mask));
}

} // namespace

TEST(FieldTable, EveryKeyIsStableUniqueAndAgreesWithTheImageAccessors) {
    const std::regex keyShape("(unit|channels|servo|governor|throttle|comm)\\.[a-z0-9_]+");
    std::set<std::string> seen;
    for (const FieldSpec& field : fieldTable()) {
        SCOPED_TRACE(field.key);
        EXPECT_TRUE(std::regex_match(field.key, keyShape));
        EXPECT_TRUE(seen.insert(field.key).second) << "duplicate key";
        EXPECT_EQ(findField(field.key), &field);
        ASSERT_EQ(accessors.count(field.key), 1U) << "no accessor to compare with";

        // Every value the field's bits hold reaches the accessor, and only this field's
        // bits change, whatever the neighbouring bytes hold.
        for (std::uint32_t value : {0U, 1U, widest(field) / 2, widest(field)}) {
            SettingsImage image;
            image.raw().fill(0xA5);
            const SettingsImage before = image;
            storeValue(image, field, value);
            EXPECT_EQ(accessors.at(field.key)(image), value);
            EXPECT_EQ(storedValue(image, field), value);
            for (std::size_t offset = 0; offset < SettingsImage::size; ++offset) {
                const bool ownByte = offset >= field.offset && offset < field.offset + field.width;
                if (!ownByte) {
                    EXPECT_EQ(image.raw()[offset], before.raw()[offset]) << offset;
                }
            }
            EXPECT_EQ(image.raw()[field.offset] & uncoveredBits(field.offset),
                      before.raw()[field.offset] & uncoveredBits(field.offset));
        }
    }
    EXPECT_EQ(seen.size(), accessors.size());
    EXPECT_EQ(findField("governor.no_such_key"), nullptr);
}

TEST(FieldTable, UncoveredBitsAreExactlyTheUnitsOwn) {
    EXPECT_EQ(uncoveredBits(SettingsImage::governorFlagsOffset), 0x36);
    EXPECT_EQ(uncoveredBits(SettingsImage::servoFlagsOffset), 0x3E);
    EXPECT_EQ(uncoveredBits(SettingsImage::communicationFlagsOffset), 0xC4);
    for (std::size_t offset : {0U,  4U,  5U,  17U, 25U, 30U, 31U, 38U, 45U, 48U, 49U,
                               52U, 59U, 61U, 68U, 70U, 72U, 75U, 81U, 83U, 84U}) {
        EXPECT_EQ(uncoveredBits(offset), 0xFF) << offset;
    }
    for (std::size_t offset : {1U,  2U,  3U,  6U,  16U, 26U, 29U, 32U, 37U, 46U, 47U,
                               50U, 51U, 60U, 69U, 71U, 73U, 74U, 76U, 77U, 82U}) {
        EXPECT_EQ(uncoveredBits(offset), 0x00) << offset;
    }
}

TEST(FieldTable, EveryValueInRangeSurvivesDisplayAndParse) {
    for (const FieldSpec& field : fieldTable()) {
        if (!field.isSetting) {
            continue;
        }
        SCOPED_TRACE(field.key);
        if (field.kind != FieldKind::Number) {
            for (const FieldChoice& choice : field.choices) {
                const ParsedValue parsed = parseDisplayText(field, displayText(field, choice.code));
                ASSERT_TRUE(parsed.value) << parsed.problem;
                EXPECT_EQ(*parsed.value, choice.code);
            }
            continue;
        }
        // Every display value from the lowest to the highest, and one past each end.
        const std::string range = rangeText(field);
        const std::string lowest = range.substr(0, range.find(".."));
        const std::string highest = range.substr(range.find("..") + 2);
        const bool ratio = field.display == FieldDisplay::GearRatio;
        const auto textAt = [&](int step) {
            return ratio ? formatGearRatio(std::stod(lowest) + step / 100.0)
                         : std::to_string(std::stoi(lowest) + step);
        };
        EXPECT_FALSE(parseDisplayText(field, textAt(-1)).value);
        int step = 0;
        for (;; ++step) {
            const std::string text = textAt(step);
            const ParsedValue parsed = parseDisplayText(field, text);
            ASSERT_TRUE(parsed.value) << text << ": " << parsed.problem;
            EXPECT_EQ(displayText(field, *parsed.value), text);
            if (field.display == FieldDisplay::ServoUpperSide ||
                field.display == FieldDisplay::ServoLowerSide) {
                // A limit point typed in is one the procedure would take, on its side.
                const int units = static_cast<int>(*parsed.value);
                EXPECT_TRUE(units < limitBandLow || units > limitBandHigh) << text;
                EXPECT_EQ(units > limitBandHigh, field.display == FieldDisplay::ServoUpperSide);
            }
            if (text == highest) {
                break;
            }
        }
        EXPECT_FALSE(parseDisplayText(field, textAt(step + 1)).value);
    }
}

TEST(FieldTable, ShowsWhatTheUnitHoldsEvenOutsideTheChoosableRange) {
    struct Case {
        const char* key;
        std::uint32_t stored;
        const char* shown;
    };
    const Case cases[] = {
        {"governor.target_rpm_1", 5000, "5000"},
        {"governor.gear_ratio", 800, "8.00"},
        {"governor.gear_ratio", 65535, "655.35"},
        {"throttle.data_mode", 3, "3"},
        {"channels.ch3", 16, "DG1"},
        {"channels.ch3", 18, "18"},
        {"servo.limit_point_1", 6208, "100"},
        {"servo.limit_point_2", 3520, "100"},
        {"governor.control_response", 1, "middle"},
        {"comm.telemetry", 1, "on"},
        {"unit.id", 10775, "10775"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(displayText(*findField(c.key), c.stored), c.shown) << c.key;
    }
    EXPECT_EQ(unitText(*findField("governor.target_rpm_1")), "rpm");
    EXPECT_EQ(unitText(*findField("governor.rpm_up_delay")), "Frm");
    EXPECT_EQ(rangeText(*findField("governor.gear_ratio")), "1.00..50.00");
    EXPECT_EQ(rangeText(*findField("throttle.data_mode")), "optimize|fixed|tx_curve");
    EXPECT_EQ(rangeText(*findField("channels.ch1")), "1..16|DG1|DG2");
}

TEST(FieldTable, RefusesWhatCannotBeStoredAsTyped) {
    struct Case {
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {"governor.target_rpm_1", "4001"},
        {"governor.target_rpm_1", "699"},
        {"governor.target_rpm_1", "-1"},
        {"governor.target_rpm_1", "99999999999999"},
        {"governor.target_rpm_1", "2000rpm"},
        {"governor.target_rpm_1", ""},
        {"governor.target_rpm_1", "20.5"},
        {"governor.gear_ratio", "8.005"},
        {"governor.gear_ratio", "0.99"},
        {"governor.gear_ratio", "50.01"},
        {"governor.gear_ratio", "eight"},
        {"governor.gear_ratio", "8,00"},
        {"servo.limit_point_1", "49"},
        {"servo.limit_point_1", "151"},
        {"throttle.data_mode", "3"},
        {"throttle.data_mode", "fixed "},
        {"channels.ch1", "0"},
        {"channels.ch1", "17"},
        {"comm.can", "yes"},
        {"unit.id", "1"},
        {"unit.model_code", "141"},
    };
    for (const Case& c : cases) {
        const ParsedValue parsed = parseDisplayText(*findField(c.key), c.text);
        EXPECT_FALSE(parsed.value) << c.key << "=" << c.text;
        EXPECT_FALSE(parsed.problem.empty());
        EXPECT_EQ(parsed.problem.find('\n'), std::string::npos);
    }
    // Names are matched without regard to case.
    EXPECT_EQ(parseDisplayText(*findField("channels.ch1"), "dg2").value, 17U);
    EXPECT_EQ(parseDisplayText(*findField("throttle.data_mode"), "Fixed").value, 1U);
}
