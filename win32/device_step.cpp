#include "device_step.h"

#include <exception>
#include <stdexcept>
#include <thread>

namespace {

int running = 0;

bool isButtonRelease(UINT message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP ||
           message == WM_XBUTTONUP || message == WM_NCLBUTTONUP || message == WM_NCRBUTTONUP ||
           message == WM_NCMBUTTONUP || message == WM_NCXBUTTONUP;
}

class Event {
public:
    Event() : handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (handle == nullptr) {
            throw std::runtime_error("CreateEventW failed");
        }
    }
    ~Event() { CloseHandle(handle); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    HANDLE get() const { return handle; }

private:
    HANDLE handle;
};

class RunningScope {
public:
    RunningScope() { ++running; }
    ~RunningScope() { --running; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;
};

} // namespace

bool refusedDuringStep(const MSG& message) {
    const UINT id = message.message;
    if (isButtonRelease(id)) {
        return false;
    }
    return (id >= WM_KEYFIRST && id <= WM_KEYLAST) || (id >= WM_MOUSEFIRST && id <= WM_MOUSELAST) ||
           (id >= WM_NCMOUSEMOVE && id <= WM_NCXBUTTONDBLCLK) || id == WM_CONTEXTMENU ||
           id == WM_CLOSE || id == WM_TOUCH || (id >= WM_POINTERUPDATE && id <= WM_POINTERUP);
}

bool deviceStepRunning() {
    return running > 0;
}

void runDeviceStep(const std::function<void()>& step) {
    const RunningScope scope;
    const Event done;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            step();
        } catch (...) {
            failure = std::current_exception();
        }
        SetEvent(done.get());
    });
    const HANDLE handles[] = {done.get()};
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) {
            break;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true; // for the program's own loop, once the step is over
                quitCode = message.wParam;
            } else if (!refusedDuringStep(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    worker.join();
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}
