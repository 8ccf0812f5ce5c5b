// File > Open Backup through the Win32 face: the native list of backups with the
// selected row's differences, on the Tab chain, and the chosen backup loaded.

#include "face_harness.h"

#include "dialog/menu_table.h"
#include "win32/backup_list.h"

#include <filesystem>

namespace {

std::string cell(HWND list, int row, int column) {
    wchar_t text[128] = {};
    ListView_GetItemText(list, row, column, text, 128);
    return narrow(text);
}

class FaceBackupTest : public FaceTest {
protected:
    std::filesystem::path root = std::filesystem::temp_directory_path() / L"varnel-face-backups";
    void SetUp() override {
        FaceTest::SetUp();
        std::filesystem::remove_all(root);
    }
    void TearDown() override {
        std::filesystem::remove_all(root);
        FaceTest::TearDown();
    }
};

TEST_F(FaceBackupTest, TheListShowsTheDifferencesAndOpenLoadsTheBackup) {
    SettingsImage unit = unitImage();
    unit.setTargetRpm(0, 2345);
    simSetRecord(unit.raw().data());
    FaceHarness face(VARNEL_SIM_PATH, root);
    face.readUnit();
    face.drag(1046, 3000);

    std::vector<std::string> seen;
    std::vector<int> tabChain;
    face.prompter.backupChooser = [&](HWND owner, const BackupChoice& choice) {
        BackupListState state{&choice, std::nullopt, false, false};
        HWND box = createBackupList(owner, state);
        HWND rows = GetDlgItem(box, backup_list::rows);
        HWND differences = GetDlgItem(box, backup_list::differences);
        seen.push_back(std::to_string(ListView_GetItemCount(rows)) + " row");
        seen.push_back(cell(rows, 0, 1) + " " + cell(rows, 0, 2));
        for (int column = 0; column < 3; ++column) {
            seen.push_back(cell(differences, 0, column));
        }
        HWND at = GetFocus();
        do {
            tabChain.push_back(GetDlgCtrlID(at));
            at = GetNextDlgTabItem(box, at, FALSE);
        } while (at != nullptr && at != GetFocus() && tabChain.size() < 8);
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(state.ended);
        EXPECT_FALSE(IsWindow(box));
        return state.chosen;
    };
    face.command(command::openBackup);

    EXPECT_EQ(seen, (std::vector<std::string>{"1 row", std::to_string(unit.unitId()) + " 1",
                                              "回転数設定1", "2345 rpm", "3000 rpm"}));
    EXPECT_EQ(tabChain,
              (std::vector<int>{backup_list::rows, backup_list::differences, IDOK, IDCANCEL}));
    EXPECT_EQ(face.text(1018), "2345");
    EXPECT_EQ(face.slider(1046), 2345);
    EXPECT_EQ(face.prompter.texts(), std::vector{message(msg::connected)});
    EXPECT_FALSE(face.dialog->logic().hasFilePath());
}

} // namespace
