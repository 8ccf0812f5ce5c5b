#include "cli_error.h"
#include "record_view.h"

#include "settings/factory_defaults.h"
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
    EXPECT_THROW(recordFromJson(nlohmann::json::parse(R"({"fields": {"comm.can": true}})")),
                 CliError);
}
