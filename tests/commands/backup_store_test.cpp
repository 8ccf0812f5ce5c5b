#include "commands/backup_store.h"
#include "environment_variable.h"
#include "settings/factory_defaults.h"
#include "settings/settings_image.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class BackupStoreTest : public ::testing::Test {
protected:
    // 2025-01-02 03:04:05.678 UTC, moved on by each record.
    std::chrono::system_clock::time_point now =
        std::chrono::system_clock::time_point(1735787045678ms);
    std::vector<std::string> reports;
    TempFolder temp;
    BackupStore store{temp.path() / "backups",
                      [this](std::string_view line) { reports.emplace_back(line); },
                      [this] { return now; }};

    static SettingsImage record(std::uint16_t unitId, std::uint16_t rpm) {
        SettingsImage image;
        image.setUnitId(unitId);
        applyFactoryDefaults(image);
        image.setTargetRpm(0, rpm);
        return image;
    }

    static std::vector<std::uint8_t> bytesOf(const SettingsImage& image) {
        return {image.raw().begin(), image.raw().end()};
    }
};

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        setEnvironmentVariable(name, value);
    }
    ~ScopedVariable() { setEnvironmentVariable(name, previous ? previous->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name;
    std::optional<std::string> previous;
};

} // namespace

TEST_F(BackupStoreTest, KeepsEachRecordUnderItsUnitNamedByUtcTime) {
    ASSERT_TRUE(store.keep(record(10775, 2000)));
    const auto kept = store.backupsOf(10775);
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(kept[0], temp.path() / "backups" / "10775" / "20250102T030405.678Z.gvx");
    EXPECT_EQ(TempFolder::readBytes(kept[0]), bytesOf(record(10775, 2000)));
    EXPECT_TRUE(store.backupsOf(1).empty());
    EXPECT_TRUE(reports.empty());
}

TEST_F(BackupStoreTest, ARecordLikeTheNewestAddsNoFile) {
    const SettingsImage a = record(7, 2000);
    const SettingsImage b = record(7, 2100);
    for (const SettingsImage* image : {&a, &a, &b, &b, &a}) {
        now += 1s;
        ASSERT_TRUE(store.keep(*image));
    }
    const auto kept = store.backupsOf(7);
    ASSERT_EQ(kept.size(), 3U) << "a, b, then a again as the newest";
    EXPECT_EQ(TempFolder::readBytes(kept[0]), bytesOf(a));
    EXPECT_EQ(TempFolder::readBytes(kept[1]), bytesOf(b));
}

TEST_F(BackupStoreTest, KeepsTheNewestFiftyAndLeavesOtherFilesAlone) {
    const fs::path unitFolder = temp.path() / "backups" / "7";
    fs::create_directories(unitFolder);
    TempFolder::writeBytes(unitFolder / "mine.gvx", {1, 2, 3});
    for (std::uint16_t i = 0; i < 55; ++i) {
        now += 1min;
        ASSERT_TRUE(store.keep(record(7, static_cast<std::uint16_t>(1000 + i))));
    }
    const auto kept = store.backupsOf(7);
    ASSERT_EQ(kept.size(), BackupStore::keptPerUnit);
    EXPECT_EQ(TempFolder::readBytes(kept.front()), bytesOf(record(7, 1054)));
    EXPECT_EQ(TempFolder::readBytes(kept.back()), bytesOf(record(7, 1005)));
    EXPECT_TRUE(fs::exists(unitFolder / "mine.gvx"));
    EXPECT_EQ(std::distance(fs::directory_iterator(unitFolder), fs::directory_iterator()), 51)
        << "no temporary file is left behind";
}

TEST_F(BackupStoreTest, RecordsWithinOneMillisecondKeepTheirOrder) {
    for (std::uint16_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(store.keep(record(7, static_cast<std::uint16_t>(1000 + i))));
    }
    const auto kept = store.backupsOf(7);
    ASSERT_EQ(kept.size(), 3U);
    EXPECT_EQ(TempFolder::readBytes(kept[0]), bytesOf(record(7, 1002)));
    EXPECT_EQ(kept[0].filename(), "20250102T030405.680Z.gvx");
}

TEST_F(BackupStoreTest, AFolderThatCannotBeMadeIsReportedNotRaised) {
    TempFolder::writeBytes(temp.path() / "backups", {0}); // a file where the folder goes
    EXPECT_FALSE(store.keep(record(7, 2000)));
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_NE(reports[0].find("backup"), std::string::npos);
    EXPECT_TRUE(store.backupsOf(7).empty());
    EXPECT_TRUE(store.units().empty());
}

TEST_F(BackupStoreTest, ListsTheUnitsThatHaveBackups) {
    store.keep(record(300, 2000));
    store.keep(record(7, 2000));
    fs::create_directories(temp.path() / "backups" / "99");    // empty: not listed
    fs::create_directories(temp.path() / "backups" / "notes"); // not a unit
    EXPECT_EQ(store.units(), (std::vector<unsigned>{7, 300}));
}

#ifdef _WIN32
TEST(BackupRoot, FollowsTheLocalApplicationDataOfTheUser) {
    struct Case {
        const char* localAppData;
        std::optional<fs::path> root;
    };
    const Case cases[] = {
        {"C:\\Users\\u\\AppData\\Local",
         fs::path("C:\\Users\\u\\AppData\\Local") / "varnel" / "backups"},
        {"relative", std::nullopt},
        {nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        const ScopedVariable localAppData("LOCALAPPDATA", c.localAppData);
        EXPECT_EQ(BackupStore::defaultRoot(), c.root)
            << (c.localAppData ? c.localAppData : "(unset)");
    }
}
#else
TEST(BackupRoot, FollowsTheDataHomeOfTheUser) {
    struct Case {
        const char* dataHome;
        const char* home;
        std::optional<fs::path> root;
    };
    const Case cases[] = {
        {"/data", "/home/u", fs::path("/data/varnel/backups")},
        {nullptr, "/home/u", fs::path("/home/u/.local/share/varnel/backups")},
        {"", "/home/u", fs::path("/home/u/.local/share/varnel/backups")},
        {"relative/data", "/home/u", fs::path("/home/u/.local/share/varnel/backups")},
        {nullptr, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        const ScopedVariable dataHome("XDG_DATA_HOME", c.dataHome);
        const ScopedVariable home("HOME", c.home);
        EXPECT_EQ(BackupStore::defaultRoot(), c.root) << (c.dataHome ? c.dataHome : "(unset)");
    }
}
#endif
