// File > Open Backup and the second chance at start-up, against a face without a
// toolkit: the list against the values shown now, a backup loaded as Open loads a file
// but never remembered, a refused one, and Retry when the adapter comes late.

#include "fake_view.h"

#include "commands/temp_folder.h"
#include "dialog/control_table.h"
#include "dialog/dialog_logic.h"
#include "dialog/menu_table.h"

#include "device/platform/utf8_path.h"
#include "resources/text_catalogue.h"
#include "settings/settings_image.h"
#include "sim/sim_control.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

PortChoice simulatedAdapter(std::string library = VARNEL_SIM_PATH) {
    PortChoice port;
    port.driverLibrary = std::move(library);
    port.serialFallback = false;
    return port;
}

struct Dialog {
    explicit Dialog(std::optional<fs::path> backupRoot, PortChoice port = simulatedAdapter())
        : logic(view, services(std::move(backupRoot), std::move(port))) {}

    static DialogServices services(std::optional<fs::path> backupRoot, PortChoice port) {
        DialogServices given;
        given.port = std::move(port);
        given.backupRoot = std::move(backupRoot);
        given.sleep = [](std::chrono::milliseconds) {};
        return given;
    }

    FakeView view;
    DialogLogic logic;
};

std::string message(int id) {
    return messageText(id);
}

SettingsImage unitWithTargetRpm(std::uint16_t rpm) {
    SettingsImage unit;
    simReset();
    simGetRecord(unit.raw().data());
    unit.setTargetRpm(0, rpm);
    simSetRecord(unit.raw().data());
    return unit;
}

class BackupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        simReset();
        setTextLanguage(Language::Japanese);
    }

    // Started, the unit read (which keeps its backup), the boxes cleared.
    void startAndRead(Dialog& dialog) {
        ASSERT_TRUE(dialog.logic.Start());
        dialog.logic.OnControl(ctl::readButton);
        ASSERT_EQ(dialog.view.boxTexts(), std::vector{message(msg::connected)});
        dialog.view.boxes.clear();
    }

    TempFolder temp;
    fs::path root = temp.path() / "backups";
};

TEST_F(BackupDialogTest, TheChosenBackupIsShownWrittenAndNeverRemembered) {
    const SettingsImage unit = unitWithTargetRpm(2345);
    BackupStore(root, [](std::string_view) {}).keep(SettingsImage()); // another unit: ID 0
    Dialog dialog(root);
    startAndRead(dialog);
    const std::string earlier = temp / "earlier.gvx";
    dialog.view.fileNames = {earlier};
    dialog.logic.OnMenu(command::saveAs);
    const auto earlierBytes = TempFolder::readBytes(earlier);
    dialog.view.setText(1018, "3000"); // typed, not yet taken

    dialog.view.backupRows = {0};
    dialog.logic.OnMenu(command::openBackup);

    ASSERT_EQ(dialog.view.backupLists.size(), 1U);
    const BackupChoice& list = dialog.view.backupLists.front();
    ASSERT_EQ(list.rows.size(), 1U) << "after a Read, only the unit read";
    EXPECT_EQ(list.rows[0].unitId, unit.unitId());
    EXPECT_EQ(list.rows[0].count, "1");
    const auto differences = list.differencesOf(0);
    ASSERT_TRUE(differences.has_value());
    ASSERT_EQ(differences->size(), 1U);
    EXPECT_EQ(differences->front().name, "回転数設定1");
    EXPECT_EQ(differences->front().backupValue, "2345 rpm");
    EXPECT_EQ(differences->front().shownValue, "3000 rpm");

    EXPECT_TRUE(dialog.view.boxes.empty());
    EXPECT_EQ(dialog.view.text(1018), "2345");
    EXPECT_FALSE(dialog.logic.hasFilePath());

    // Save asks for a name: the file opened before keeps what it held, and so does the
    // backup.
    const fs::path backup = BackupStore(root, [](std::string_view) {}).backupsOf(unit.unitId())[0];
    const auto backupBytes = TempFolder::readBytes(backup);
    const std::string later = temp / "later.gvx";
    dialog.view.fileNames = {later};
    dialog.logic.OnMenu(command::save);
    EXPECT_TRUE(dialog.view.fileNames.empty());
    EXPECT_EQ(TempFolder::readBytes(earlier), earlierBytes);
    EXPECT_EQ(TempFolder::readBytes(backup), backupBytes);
    EXPECT_EQ(dialog.logic.filePath(), later);

    // Write is what sends the backup's values to the unit.
    dialog.view.setText(1018, "3000");
    dialog.view.backupRows = {0};
    dialog.logic.OnMenu(command::openBackup);
    dialog.logic.OnControl(ctl::writeButton);
    SettingsImage written;
    simGetRecord(written.raw().data());
    EXPECT_EQ(written.targetRpm(0), 2345);
}

TEST_F(BackupDialogTest, BeforeAnyReadEveryUnitGroupedByID) {
    BackupStore store(root, [](std::string_view) {});
    for (const std::uint16_t id : {300, 7}) {
        SettingsImage record;
        record.setUnitId(id);
        store.keep(record);
    }
    Dialog dialog(root);
    ASSERT_TRUE(dialog.logic.Start());
    dialog.logic.OnMenu(command::openBackup);
    ASSERT_EQ(dialog.view.backupLists.size(), 1U);
    const auto& rows = dialog.view.backupLists.front().rows;
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].unitId, 7U);
    EXPECT_EQ(rows[1].unitId, 300U);
    EXPECT_TRUE(dialog.view.boxes.empty()) << "Cancel changes nothing";
}

TEST_F(BackupDialogTest, ARefusedBackupTellsWhyAndChangesNothing) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> content;
        int message;
    };
    const Case cases[] = {
        {"another model's record", std::vector<std::uint8_t>(85, 0x01), msg::foreignModel},
        {"too short for a record", std::vector<std::uint8_t>(20, 0x8D), msg::fileReadError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root);
        Dialog dialog(root);
        startAndRead(dialog);
        const std::string earlier = temp / "earlier.gvx";
        fs::remove(earlier);
        dialog.view.fileNames = {earlier};
        dialog.logic.OnMenu(command::saveAs);
        const SettingsImage before = dialog.logic.kelvo().workingImage;
        const fs::path unitFolder = root / std::to_string(before.unitId());
        TempFolder::writeBytes(unitFolder / "29990101T000000.000Z.gvx", c.content);

        dialog.view.backupRows = {0};
        dialog.logic.OnMenu(command::openBackup);

        ASSERT_EQ(dialog.view.backupLists.size(), 1U);
        EXPECT_EQ(dialog.view.backupLists.front().rows[0].count, "読めません");
        EXPECT_EQ(dialog.view.boxTexts(), std::vector{message(c.message)});
        EXPECT_EQ(dialog.logic.kelvo().workingImage, before);
        EXPECT_EQ(dialog.logic.filePath(), earlier);
    }
}

TEST_F(BackupDialogTest, NoListWhenTheFolderCannotBeReadOrThereIsNone) {
    struct Case {
        const char* what;
        std::optional<fs::path> root;
        std::function<void(const fs::path&)> prepare;
        std::string box; // empty: the list, saying there are none
    };
    const Case cases[] = {
        {"no backups yet", root, [](const fs::path&) {}, ""},
        {"the store is a file", root, [](const fs::path& at) { TempFolder::writeBytes(at, {0}); },
         "バックアップのフォルダーを読み込めません: " + root.string()},
        {"no folder for the user's data", std::nullopt, [](const fs::path&) {},
         "バックアップの保存先がありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root);
        c.prepare(root);
        Dialog dialog(c.root);
        ASSERT_TRUE(dialog.logic.Start());
        const SettingsImage before = dialog.logic.kelvo().workingImage;
        dialog.logic.OnMenu(command::openBackup);
        EXPECT_EQ(dialog.logic.kelvo().workingImage, before);
        if (c.box.empty()) {
            ASSERT_EQ(dialog.view.backupLists.size(), 1U);
            EXPECT_TRUE(dialog.view.backupLists.front().rows.empty());
            EXPECT_EQ(dialog.view.backupLists.front().emptyText,
                      "バックアップはありません。バックアップの保存先: " + root.string());
            continue;
        }
        EXPECT_TRUE(dialog.view.backupLists.empty());
        ASSERT_EQ(dialog.view.boxes.size(), 1U);
        EXPECT_EQ(dialog.view.boxes[0].text.substr(0, c.box.size()), c.box);
        EXPECT_EQ(dialog.view.boxes[0].icon, DialogView::Icon::Error);
    }
}

TEST_F(BackupDialogTest, MessageOneNineteenOffersRetryAndCancel) {
    struct Case {
        const char* what;
        std::string library;
        std::vector<DialogView::Answer> answers;
        bool plugInMeanwhile;
        bool started;
        std::vector<DialogView::Buttons> boxes;
    };
    using B = DialogView::Buttons;
    using A = DialogView::Answer;
    const Case cases[] = {
        {"Retry with the adapter now present",
         VARNEL_SIM_PATH,
         {A::Retry},
         true,
         true,
         {B::RetryCancel}},
        {"Retry while it is still missing, then Cancel",
         VARNEL_SIM_PATH,
         {A::Retry, A::Cancel},
         false,
         false,
         {B::RetryCancel, B::RetryCancel}},
        {"Cancel", VARNEL_SIM_PATH, {A::Cancel}, true, false, {B::RetryCancel}},
        {"118 keeps its single OK", "/nonexistent/libd2xx.so", {A::Retry}, false, false, {B::Ok}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simReset();
        simSetFault(SIM_FAULT_NO_ADAPTER, 0);
        Dialog dialog(std::nullopt, simulatedAdapter(c.library));
        dialog.view.answers = {c.answers.begin(), c.answers.end()};
        if (c.plugInMeanwhile) {
            dialog.view.whileShown = [](const FakeView::Box&) { simSetFault(SIM_FAULT_NONE, 0); };
        }
        EXPECT_EQ(dialog.logic.Start(), c.started);
        std::vector<DialogView::Buttons> shown;
        for (const FakeView::Box& box : dialog.view.boxes) {
            shown.push_back(box.buttons);
            EXPECT_EQ(box.icon, DialogView::Icon::Error);
        }
        EXPECT_EQ(shown, c.boxes);
        if (c.started) {
            dialog.view.boxes.clear();
            dialog.logic.OnControl(ctl::readButton);
            EXPECT_EQ(dialog.view.boxTexts(), std::vector{message(msg::connected)});
        }
    }
}

} // namespace
