#include "ui_wait.h"

#include "win32/device_step.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

// A window that records the messages it is given.
class RecordingWindow {
public:
    RecordingWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &RecordingWindow::procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VarnelRecordingWindow";
        RegisterClassW(&windowClass);
        handle = CreateWindowW(L"VarnelRecordingWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { DestroyWindow(handle); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND handle;
    std::vector<UINT> received;
    bool stepSeenRunning = false;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message >= WM_KEYFIRST && message <= WM_APP + 10) {
            self->received.push_back(message);
        }
        if (self != nullptr && message == WM_APP + 2) {
            self->stepSeenRunning = deviceStepRunning();
        }
        return DefWindowProcW(window, message, w, l);
    }
};

bool contains(const std::vector<UINT>& messages, UINT message) {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

TEST(Win32DeviceStep, DispatchesMessagesButDropsTheUsersInputWhileTheStepRuns) {
    RecordingWindow window;
    const UINT refused[] = {WM_KEYDOWN,       WM_CHAR,        WM_SYSKEYDOWN, WM_LBUTTONDOWN,
                            WM_LBUTTONDBLCLK, WM_MOUSEMOVE,   WM_MOUSEWHEEL, WM_NCLBUTTONDOWN,
                            WM_RBUTTONDOWN,   WM_CONTEXTMENU, WM_CLOSE};
    const UINT passed[] = {WM_APP + 1, WM_LBUTTONUP, WM_TIMER};
    std::atomic<bool> posted = false;
    runDeviceStep([&] {
        for (const UINT message : refused) {
            PostMessageW(window.handle, message, 0, 0);
        }
        for (const UINT message : passed) {
            PostMessageW(window.handle, message, 0, 0);
        }
        posted = true;
        // The window's thread must handle the passing messages while the step runs.
        for (int i = 0; i < 500 && !contains(window.received, WM_APP + 1); ++i) {
            Sleep(10);
        }
    });
    ASSERT_TRUE(posted);
    for (const UINT message : passed) {
        EXPECT_TRUE(contains(window.received, message)) << message;
    }
    for (const UINT message : refused) {
        EXPECT_FALSE(contains(window.received, message)) << message;
    }
    EXPECT_FALSE(deviceStepRunning());
}

// A screen reader's action arrives as a sent message, past the queue: the window's
// handlers must be able to tell that a step runs.
TEST(Win32DeviceStep, SentMessagesSeeTheStepRunning) {
    RecordingWindow window;
    runDeviceStep([&] { SendMessageW(window.handle, WM_APP + 2, 0, 0); });
    EXPECT_TRUE(window.stepSeenRunning);
    EXPECT_FALSE(deviceStepRunning());
}

TEST(Win32DeviceStep, HandsOnWhatTheStepThrewAndAQuitRequest) {
    EXPECT_THROW(runDeviceStep([] {
                     PostQuitMessage(3); // lands on the worker's own queue: ignored
                     throw std::runtime_error("unit silent");
                 }),
                 std::runtime_error);
    const DWORD windowThread = GetCurrentThreadId();
    runDeviceStep([&] { PostThreadMessageW(windowThread, WM_QUIT, 7, 0); });
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7U);
}

} // namespace
