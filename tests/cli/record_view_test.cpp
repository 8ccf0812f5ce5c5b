#include "cli_error.h"
#include "record_view.h"

#include "settings/factory_defaults.h"
#include "settings/field_table.h"
#include "settings/settings_image.h"

#include <gtest/gtest.h>

TEST(RecordView, AssignmentsApplyAllOrNothing) {
    SettingsImage image;
    applyFactoryDefaults(image);
    const SettingsImage before = image;
    EXPECT_THROW(applyAssignments(image, {"governor.gain=55", "governor.gain=5"}), CliError);
    EXPECT_EQ(image, before);
    applyAssignments(image, {"governor.gain=55", "servo.limit_point_2=50"});
    EXPECT_EQ(image.governorGain(), 55);
    EXPECT_LT(image.limitPoint2(), 4192) << "display 50 below the band, not inside it";
}

TEST(RecordView, EqualDisplaysStillShowWhichServoPositionsDiffer) {
    SettingsImage a;
    SettingsImage b;
    a.setLimitPoint2(4190);
    b.setLimitPoint2(4188);
    const auto list = differences(a, b);
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].before, "50 (4190)");
    EXPECT_EQ(list[0].after, "50 (4188)");
}

TEST(RecordView, JsonWithoutRawStartsFromTheFactorySettings) {
    const SettingsImage image =
        recordFromJson(nlohmann::json::parse(R"({"fields": {"governor.gear_ratio": 1.13}})"));
    SettingsImage expected;
    applyFactoryDefaults(expected);
    expected.setGearRatio(113);
    EXPECT_EQ(image, expected);
    EXPECT_THROW(recordFromJson(nlohmann::json::parse(R"({"raw": "00"})")), CliError);
    EXPECT_THROW(recordFromJson(nlohmann::json::parse(R"([1, 2])")), CliError);
    EXPECT_THROW(recordFromJson(nlohmann::json::parse(R"({"fields": {"governor.gain": true}})")),
                 CliError);
}

// What a script reads: each kind of field with its value and its range.
TEST(RecordView, JsonGivesNumbersFlagsChoicesAndRangesAsTheirKinds) {
    SettingsImage image;
    applyFactoryDefaults(image);
    applyAssignments(image, {"governor.target_rpm_1=2100", "governor.gear_ratio=9.25",
                             "channels.ch2=DG1", "comm.telemetry=on", "comm.can=off"});
    image.setThrottleDataMode(3); // a code no name stands for
    const nlohmann::json fields = recordJson(image)["fields"];
    struct Case {
        const char* key;
        const char* value;
        const char* range;
    };
    const Case cases[] = {
        {"governor.target_rpm_1", "2100", R"({"min": 700, "max": 4000})"},
        {"governor.gear_ratio", "9.25", R"({"min": 1.0, "max": 50.0})"},
        {"channels.ch1", "1", R"({"min": 1, "max": 16, "choices": ["DG1", "DG2"]})"},
        {"channels.ch2", R"("DG1")", R"({"min": 1, "max": 16, "choices": ["DG1", "DG2"]})"},
        {"comm.telemetry", "true", R"({"choices": [false, true]})"},
        {"comm.can", "false", R"({"choices": [false, true]})"},
        {"comm.bus", R"("sbus2")", R"({"choices": ["rs485", "sbus2"]})"},
        {"throttle.data_mode", "3", R"({"choices": ["optimize", "fixed", "tx_curve"]})"},
        {"unit.id", "0", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(fields.contains(c.key));
        const nlohmann::json& entry = fields[c.key];
        EXPECT_EQ(entry["value"], nlohmann::json::parse(c.value));
        EXPECT_EQ(entry["value"].type(), nlohmann::json::parse(c.value).type());
        if (c.range == nullptr) {
            EXPECT_FALSE(entry.contains("range")) << "the header is no setting";
        } else {
            EXPECT_EQ(entry["range"], nlohmann::json::parse(c.range));
        }
    }
}

// Edits in the forms show --json prints are taken as the text forms are.
TEST(RecordView, JsonEditsInEveryFormShowPrints) {
    struct Case {
        const char* edit;
        const char* key;
        const char* shown;
    };
    const Case cases[] = {
        {R"({"comm.telemetry": false})", "comm.telemetry", "off"},
        {R"({"comm.telemetry": {"value": true, "unit": "", "range": {}}})", "comm.telemetry", "on"},
        {R"({"channels.ch1": 3})", "channels.ch1", "3"},
        {R"({"channels.ch1": "DG2"})", "channels.ch1", "DG2"},
        {R"({"governor.gear_ratio": 9.25})", "governor.gear_ratio", "9.25"},
        {R"({"governor.target_rpm_1": {"value": 2500}})", "governor.target_rpm_1", "2500"},
        {R"({"comm.bus": "rs485"})", "comm.bus", "rs485"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit);
        const SettingsImage image = recordFromJson({{"fields", nlohmann::json::parse(c.edit)}});
        const FieldSpec* field = findField(c.key);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(displayText(*field, storedValue(image, *field)), c.shown);
    }
}
