#pragma once

// The Win32 main dialog inside the test, connected to the simulated adapter and unit,
// with its boxes answered by a script and its pauses recorded instead of spent.

#include "ui_wait.h"

#include "device/platform/wide_text.h"
#include "dialog/control_table.h"
#include "resources/string_table.h"
#include "resources/text_catalogue.h"
#include "settings/settings_image.h"
#include "sim/sim_control.h"
#include "win32/main_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ScriptedPrompter : public Win32Prompter {
public:
    struct Box {
        std::string text;
        DialogView::Icon icon;
        DialogView::Buttons buttons;
        bool waitCursor;
    };
    std::vector<Box> boxes;
    std::deque<DialogView::Answer> answers; // when empty: OK, or No to a question
    std::deque<std::string> files;          // when empty: the user cancels

    DialogView::Answer message(HWND, const std::string& text, DialogView::Icon icon,
                               DialogView::Buttons buttons) override {
        boxes.push_back({text, icon, buttons, waitCursorShown()});
        if (!answers.empty()) {
            const DialogView::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        if (buttons == DialogView::Buttons::RetryCancel) {
            return DialogView::Answer::Cancel;
        }
        return buttons == DialogView::Buttons::YesNo ? DialogView::Answer::No
                                                     : DialogView::Answer::Ok;
    }
    // The list of backups; by default the user cancels it.
    std::function<std::optional<std::size_t>(HWND, const BackupChoice&)> backupChooser;
    std::optional<std::size_t> chooseBackup(HWND owner, const BackupChoice& choice) override {
        return backupChooser ? backupChooser(owner, choice) : std::nullopt;
    }
    int fileRequests = 0;
    std::string chooseFile(HWND, DialogView::FileChoice) override {
        ++fileRequests;
        if (files.empty()) {
            return {};
        }
        std::string file = files.front();
        files.pop_front();
        return file;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const Box& box : boxes) {
            all.push_back(box.text);
        }
        return all;
    }
};

inline std::string message(int id) {
    return localMessage(id);
}

struct FaceHarness {
    explicit FaceHarness(std::string library = VARNEL_SIM_PATH,
                         std::optional<std::filesystem::path> backupRoot = std::nullopt) {
        DialogServices services;
        services.port.driverLibrary = std::move(library);
        services.port.serialFallback = false;
        services.backupRoot = std::move(backupRoot);
        services.sleep = [this](std::chrono::milliseconds pause) {
            pauses.push_back(pause);
            if (duringPause) {
                duringPause(pause);
            }
        };
        dialog = std::make_unique<MainDialog>(std::move(services), prompter);
        window = dialog->open();
    }

    HWND at(int id) const { return GetDlgItem(window, id); }
    std::string text(int id) const { return dialog->text(id); }
    int slider(int id) const { return dialog->sliderPosition(id); }
    bool enabled(int id) const { return IsWindowEnabled(at(id)) != FALSE; }
    bool checked(int id) const { return IsDlgButtonChecked(window, id) == BST_CHECKED; }

    // A click as a screen reader or the mouse gives it: the button's own handling.
    void click(int id) { SendMessageW(at(id), BM_CLICK, 0, 0); }
    // A slider dragged to a position, with the notification the drag sends.
    void drag(int id, int position) {
        SendMessageW(at(id), TBM_SETPOS, TRUE, position);
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                     reinterpret_cast<LPARAM>(at(id)));
    }
    // A menu item or an accelerator's command.
    void command(int id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // Dispatches messages the way the program's loop does, until `ready` or the deadline.
    bool pumpUntil(const std::function<bool()>& ready,
                   std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!dialog->preTranslate(message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            if (ready()) {
                return true;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    void pump() {
        pumpUntil([] { return false; }, std::chrono::milliseconds(50));
    }
    void readUnit() {
        click(ctl::readButton);
        ASSERT_FALSE(prompter.boxes.empty());
        ASSERT_EQ(prompter.boxes.back().text, message(msg::connected));
    }

    ScriptedPrompter prompter;
    std::vector<std::chrono::milliseconds> pauses;
    std::function<void(std::chrono::milliseconds)> duringPause;
    std::unique_ptr<MainDialog> dialog;
    HWND window = nullptr;
};

// The record the simulated unit holds now.
inline SettingsImage unitImage() {
    SettingsImage image;
    simGetRecord(image.raw().data());
    return image;
}

class FaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        simReset();
        setTextLanguage(Language::Japanese);
    }
    void TearDown() override { simReset(); }
};
