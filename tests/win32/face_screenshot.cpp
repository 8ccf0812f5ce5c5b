// Pictures the Win32 dialog as it looks after File > Initialize, for the README, as a
// 24-bit BMP of the whole window. Usage: face_screenshot OUTPUT.bmp [ja|en]

#include "face_harness.h"

#include "settings/factory_defaults.h"

#include <cstdio>
#include <cstring>
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

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3) {
        return 2;
    }
    const bool english = argc == 3 && std::wcscmp(argv[2], L"en") == 0;
    setTextLanguage(english ? Language::English : Language::Japanese);
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
