#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

// Dispatches this thread's messages until `ready` holds or the deadline passes; Wine's
// timing varies too much for fixed pauses. Returns whether `ready` held.
inline bool pumpUntil(const std::function<bool()>& ready,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// The message box or common dialog with this caption that belongs to this process,
// or null.
inline HWND findDialog(const wchar_t* caption) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t className[32] = {};
            wchar_t text[256] = {};
            GetClassNameW(window, className, 32);
            GetWindowTextW(window, text, 256);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                lstrcmpW(className, L"#32770") == 0 &&
                (wanted->caption == nullptr || lstrcmpW(text, wanted->caption) == 0)) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
