// The real varnel.exe against the simulated adapter, from outside, as a user's desktop
// sees it: the window comes up, a Read through the menu command shows its message and
// the unit's ID, and the program ends when the window is closed.

#include "ui_wait.h"

#include "device/platform/program_folder.h"
#include "device/platform/wide_text.h"
#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FoundWindow {
    DWORD process;
    const wchar_t* className;
    const wchar_t* caption;
    HWND found = nullptr;
};

HWND windowOf(DWORD process, const wchar_t* className, const wchar_t* caption) {
    FoundWindow search{process, className, caption};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<FoundWindow*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[64] = {};
            wchar_t text[64] = {};
            GetClassNameW(window, name, 64);
            GetWindowTextW(window, text, 64);
            if (owner == wanted->process && IsWindowVisible(window) &&
                lstrcmpW(name, wanted->className) == 0 && lstrcmpW(text, wanted->caption) == 0) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring textOf(HWND control) {
    wchar_t text[256] = {};
    // Sent across processes, the system copies the text back.
    SendMessageTimeoutW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        nullptr);
    return text;
}

TEST(Win32Smoke, TheProgramReadsTheSimulatedUnitAndCloses) {
    const std::wstring program = (programFolder() / L"varnel.exe").wstring();
    std::wstring commandLine = L"\"" + program + L"\" --simulate --lang ja";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &started));
    const DWORD process = started.dwProcessId;

    HWND dialog = nullptr;
    EXPECT_TRUE(
        pumpUntil([&] { return (dialog = windowOf(process, L"#32770", L"Varnel 4.0")) != nullptr; },
                  std::chrono::seconds(30)));
    if (dialog != nullptr) {
        // Posted: the command shows a modal box, which would hold a sent message.
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(32771, 0), 0);
        HWND box = nullptr;
        EXPECT_TRUE(
            pumpUntil([&] { return (box = windowOf(process, L"#32770", L"Varnel")) != nullptr; },
                      std::chrono::seconds(30)));
        if (box != nullptr) {
            EXPECT_EQ(textOf(GetDlgItem(box, 0xFFFF)), widen(messageText(msg::connected)));
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        EXPECT_TRUE(pumpUntil([&] { return textOf(GetDlgItem(dialog, 1001)) == L"10775"; }));
        EXPECT_TRUE(pumpUntil([&] { return textOf(GetDlgItem(dialog, 1018)) != L"0"; }));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(started.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0U);
    if (WaitForSingleObject(started.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(started.hProcess, 1);
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

} // namespace
