#include "commands/backup_list.h"
#include "commands/platform/local_time.h"
#include "environment_variable.h"
#include "resources/text_catalogue.h"
#include "settings/factory_defaults.h"
#include "settings/field_table.h"
#include "settings/settings_image.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "as_ordinary_user.h"
#endif

#include <functional>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using State = BackupListing::State;

SettingsImage factoryRecord(std::uint16_t unitId) {
    SettingsImage image;
    image.setUnitId(unitId);
    applyFactoryDefaults(image);
    return image;
}

// The times as UTC, so that the listing does not depend on the machine's zone.
std::string utcText(std::chrono::system_clock::time_point when) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(when.time_since_epoch());
    return std::to_string(seconds.count());
}

class BackupListTest : public ::testing::Test {
protected:
    // 2025-01-02 03:04:05.678 UTC.
    std::chrono::system_clock::time_point now =
        std::chrono::system_clock::time_point(1735787045678ms);
    TempFolder temp;
    fs::path root = temp.path() / "backups";
    BackupStore store{root, [](std::string_view) {}, [this] { return now; }};
    SettingsImage shown = factoryRecord(10775);

    // Keeps a record of the unit, changed from the factory's by change, one minute on.
    void keep(std::uint16_t unitId, const std::function<void(SettingsImage&)>& change) {
        now += 1min;
        SettingsImage image = factoryRecord(unitId);
        change(image);
        ASSERT_TRUE(store.keep(image));
    }

    BackupListing list(std::optional<unsigned> unitId = std::nullopt) const {
        return listBackups(store, unitId, shown, utcText);
    }
};

void noChange(SettingsImage&) {}

TEST_F(BackupListTest, RowsGroupedByUnitNewestFirstWithTheFieldsThatDiffer) {
    keep(300, noChange);
    keep(7, [](SettingsImage& image) { image.setTargetRpm(0, 2100); });
    keep(300, [](SettingsImage& image) {
        image.setGearRatio(1234);      // two bytes, one field
        image.setWorkingModeBit(true); // two fields in one byte
        image.setRpmDisplayModeBit(true);
        image.raw()[SettingsImage::governorFlagsOffset] ^= 0x02; // no field's bit
    });
    keep(7, [](SettingsImage& image) { image.setTelemetryBit(!image.telemetryBit()); });

    const BackupListing all = list();
    EXPECT_EQ(all.state, State::Listed);
    EXPECT_EQ(all.folder, root.string());
    struct Expected {
        unsigned unitId;
        std::string time;
        std::size_t differences;
    };
    const Expected expected[] = {
        {7, "1735787285", 1},   // the newest of unit 7: telemetry
        {7, "1735787165", 1},   // target RPM 1
        {300, "1735787225", 3}, // gear ratio, working mode, RPM display
        {300, "1735787105", 0}, // the unit ID differs, but it is no setting
    };
    ASSERT_EQ(all.rows.size(), std::size(expected));
    for (std::size_t i = 0; i < all.rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(all.rows[i].unitId, expected[i].unitId);
        EXPECT_EQ(all.rows[i].localTime, expected[i].time);
        EXPECT_EQ(all.rows[i].differences, expected[i].differences);
    }

    const BackupListing one = list(300);
    ASSERT_EQ(one.rows.size(), 2U);
    EXPECT_EQ(one.rows[0].file, all.rows[2].file);
    EXPECT_EQ(one.rows[1].file, all.rows[3].file);
}

TEST_F(BackupListTest, AFileThatIsNoRecordIsListedWithoutACount) {
    keep(7, noChange);
    const fs::path stray = root / "7" / "20990101T000000.000Z.gvx";
    TempFolder::writeBytes(stray, {1, 2, 3});
    const BackupListing listing = list(7);
    ASSERT_EQ(listing.rows.size(), 2U);
    EXPECT_EQ(listing.rows[0].file, stray);
    EXPECT_EQ(listing.rows[0].differences, std::nullopt);
    EXPECT_EQ(listing.rows[1].differences, 0U);
}

TEST_F(BackupListTest, NoBackupsSaysWhereTheyWouldBe) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::optional<unsigned> unitId;
    };
    const Case cases[] = {
        {"no folder yet", [] {}, std::nullopt},
        {"an empty folder", [&] { fs::create_directories(root); }, std::nullopt},
        {"another unit's backups", [&] { keep(300, noChange); }, 7U},
        {"only files the store did not make",
         [&] {
             fs::create_directories(root / "7");
             TempFolder::writeBytes(root / "7" / "mine.gvx", {1});
         },
         7U},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root);
        c.prepare();
        const BackupListing listing = list(c.unitId);
        EXPECT_EQ(listing.state, State::None);
        EXPECT_TRUE(listing.rows.empty());
        EXPECT_EQ(listing.folder, root.string());
    }
}

TEST_F(BackupListTest, AFolderThatCannotBeReadIsAnErrorAndNothingIsListed) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        fs::path named;
    };
    std::vector<Case> cases{
        {"the store is a file", [&] { TempFolder::writeBytes(root, {0}); }, root},
        {"a unit's folder is a file",
         [&] {
             keep(7, noChange);
             TempFolder::writeBytes(root / "300", {0});
         },
         root / "300"},
    };
#ifndef _WIN32
    cases.push_back({"the store may not be read",
                     [&] {
                         keep(7, noChange);
                         fs::permissions(root, fs::perms::owner_write | fs::perms::owner_exec);
                     },
                     root});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, ignored);
        fs::remove_all(root);
        c.prepare();
        const fs::path kept = root / "7" / "20250102T030505.678Z.gvx";
        const auto before = TempFolder::readBytes(kept);
        const BackupListing listing = [&] {
#ifndef _WIN32
            const AsOrdinaryUser ordinary;
#endif
            return list();
        }();
        EXPECT_EQ(listing.state, State::Unreadable);
        EXPECT_TRUE(listing.rows.empty());
        EXPECT_NE(listing.problem.find(c.named.string()), std::string::npos) << listing.problem;
        EXPECT_EQ(TempFolder::readBytes(kept), before);
    }
}

TEST(BackupDifferences, FieldByFieldInTheInterfaceLanguageAndInDisplayUnits) {
    const SettingsImage shown = factoryRecord(10775);
    SettingsImage backup = factoryRecord(12);
    backup.setTargetRpm(0, static_cast<std::uint16_t>(shown.targetRpm(0) + 100));
    backup.setWorkingModeBit(!shown.workingModeBit());
    backup.setCanCommBit(!shown.canCommBit());

    const auto expectFor = [&](Language language, std::vector<std::string> names) {
        setTextLanguage(language);
        const std::vector<FieldDifference> found = fieldDifferences(backup, shown);
        ASSERT_EQ(found.size(), names.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].name, names[i]);
            EXPECT_NE(found[i].backupValue, found[i].shownValue) << names[i];
        }
        EXPECT_EQ(found[0].backupValue, std::to_string(shown.targetRpm(0) + 100) + " rpm");
        EXPECT_EQ(found[0].shownValue, std::to_string(shown.targetRpm(0)) + " rpm");
    };
    expectFor(Language::Japanese, {"回転数設定1", "ガバナーワーキングモード", "CAN通信"});
    expectFor(Language::English, {"Target RPM 1", "Working mode", "CAN bus"});

    const auto english = fieldDifferences(backup, shown);
    setTextLanguage(Language::Japanese);
    const auto modeName = [](bool revLimit) { return revLimit ? "Rev limit" : "Governor"; };
    EXPECT_EQ(english[1].backupValue, modeName(backup.workingModeBit()));
    EXPECT_EQ(english[1].shownValue, modeName(shown.workingModeBit()));
    EXPECT_EQ(english[2].backupValue, backup.canCommBit() ? "ACT" : "INH");
    EXPECT_EQ(differenceCount(backup, shown), english.size());
}

TEST(BackupTime, LocalTimeFollowsTheZoneOfTheProcess) {
    const char* old = std::getenv("TZ");
    const std::string previous = old != nullptr ? old : "";
    setEnvironmentVariable("TZ", "JST-9");
    const auto when = BackupStore::timeOf("20250102T150405.678Z.gvx");
    ASSERT_TRUE(when.has_value());
    EXPECT_EQ(localDateTime(*when), "2025-01-03 00:04:05");
    setEnvironmentVariable("TZ", old != nullptr ? previous.c_str() : nullptr);
    EXPECT_FALSE(BackupStore::timeOf("20251302T150405.678Z.gvx").has_value());
    EXPECT_FALSE(BackupStore::timeOf("mine.gvx").has_value());
    EXPECT_FALSE(BackupStore::timeOf("20250102T250405.678Z.gvx").has_value());
    // Beyond what the clock can count: no time rather than an overflow.
    EXPECT_FALSE(BackupStore::timeOf("29990101T000000.000Z.gvx").has_value());
}

} // namespace

namespace {

TEST(BackupDifferences, EverySettingHasANameInBothLanguages) {
    for (const FieldSpec& field : fieldTable()) {
        if (field.isSetting) {
            ASSERT_NE(field.label, nullptr) << field.key;
            EXPECT_NE(englishText(field.label), nullptr) << field.key;
            for (const FieldChoice& choice : field.choices) {
                EXPECT_TRUE(choice.label == nullptr || englishText(choice.label) != nullptr)
                    << field.key << " " << choice.label;
            }
        }
    }
}

} // namespace
