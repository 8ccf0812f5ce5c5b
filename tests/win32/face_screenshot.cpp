// Pictures the Win32 dialog as it looks after File > Initialize, or its list of backups
// as before any Read, for the README, as a 24-bit BMP of the whole window.
// Usage: face_screenshot OUTPUT.bmp [ja|en] [backups]

#include "face_harness.h"

#include "dialog/menu_table.h"
#include "settings/factory_defaults.h"
#include "win32/backup_list.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

bool writeBitmap(HWND window, const wchar_t* path) {
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    const HGDIOBJ before = SelectObject(memory, bitmap);
    // From the screen, where the window and its children are drawn as the user sees them.
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageSize),
        0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    bool written = false;
    if (FILE* out = _wfopen(path, L"wb")) {
        written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                  std::fwrite(pixels, imageSize, 1, out) == 1;
        written = std::fclose(out) == 0 && written;
    }
    SelectObject(memory, before);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

// A few backups of two units, some of them apart from the factory settings.
void keepSomeBackups(const std::filesystem::path& root) {
    using namespace std::chrono_literals;
    // 2026-05-02 09:15 UTC, then a few flying days.
    std::chrono::system_clock::time_point when{1777713300000ms};
    BackupStore store(
        root, [](std::string_view) {}, [&] { return when; });
    SettingsImage record;
    record.setUnitId(10775);
    applyFactoryDefaults(record);
    SettingsImage other = record;
    other.setUnitId(4021);
    store.keep(record);
    when += 26h + 7min;
    record.setTargetRpm(0, 1900);
    record.setGearRatio(850);
    store.keep(record);
    when += 3h + 41min;
    record.setGovernorGain(55);
    record.setWorkingModeBit(!record.workingModeBit());
    store.keep(record);
    when += 2h;
    store.keep(other);
}

int pictureBackupList(const wchar_t* path) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / L"varnel-screenshot-backups";
    std::filesystem::remove_all(root);
    keepSomeBackups(root);
    FaceHarness face(VARNEL_SIM_PATH, root);
    if (face.dialog->closed()) {
        return 1;
    }
    applyFactoryDefaults(face.dialog->logic().kelvo().workingImage);
    face.dialog->logic().ImageToValues();
    bool written = false;
    face.prompter.backupChooser = [&](HWND owner, const BackupChoice& choice) {
        BackupListState state{&choice, std::nullopt, false, false};
        HWND box = createBackupList(owner, state);
        ListView_SetItemState(GetDlgItem(box, backup_list::rows), 1, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        SetForegroundWindow(box);
        face.pumpUntil([] { return false; }, std::chrono::milliseconds(1500));
        written = writeBitmap(box, path);
        DestroyWindow(box);
        return std::optional<std::size_t>();
    };
    face.command(command::openBackup);
    std::filesystem::remove_all(root);
    return written ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 4) {
        return 2;
    }
    const bool english = argc >= 3 && std::wcscmp(argv[2], L"en") == 0;
    setTextLanguage(english ? Language::English : Language::Japanese);
    if (argc == 4 && std::wcscmp(argv[3], L"backups") == 0) {
        return pictureBackupList(argv[1]);
    }
    FaceHarness face;
    if (face.dialog->closed()) {
        return 1;
    }
    DialogLogic& logic = face.dialog->logic();
    applyFactoryDefaults(logic.kelvo().workingImage);
    logic.ImageToValues();
    logic.ValuesToSliders();
    logic.RefreshLimitLabels();
    SetWindowPos(face.window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(face.window);
    face.pumpUntil([] { return false; }, std::chrono::milliseconds(1500));
    return writeBitmap(face.window, argv[1]) ? 0 : 1;
}
