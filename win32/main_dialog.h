#pragma once

#include "dialog/dialog_logic.h"
#include "dialog/dialog_view.h"
#include "wait_cursor.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// How the face asks the user: message boxes and the file dialogs. Tests answer instead.
class Win32Prompter {
public:
    virtual ~Win32Prompter() = default;
    virtual DialogView::Answer message(HWND owner, const std::string& text, DialogView::Icon icon,
                                       DialogView::Buttons buttons);
    virtual std::string chooseFile(HWND owner, DialogView::FileChoice choice);
    virtual std::optional<std::size_t> chooseBackup(HWND owner, const BackupChoice& choice);
};

// The main dialog on Win32: a modeless dialog built from the control table through an
// in-memory template, the menu and the accelerators from the menu table, and the view
// the dialog logic drives.
class MainDialog final : public DialogView {
public:
    MainDialog(DialogServices services, Win32Prompter& prompter);
    ~MainDialog() override;
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // Creates the window, shown, and starts the logic, which connects the adapter. Null
    // when the window could not be made; closed() when the connect failed.
    HWND open();
    HWND window() const { return handle; }
    bool closed() const { return handle == nullptr; }
    DialogLogic& logic() { return dialogLogic; }
    HACCEL accelerators() const { return acceleratorTable; }
    // Ends the thread's message loop when the window goes (the program's main window).
    void quitOnClose() { postQuit = true; }

    // What the message loop does with each message first: the accelerators, then the
    // dialog keys (Tab, arrows, Enter, Escape). True when the message was consumed.
    bool preTranslate(MSG& message);

    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void setRadioChoice(int groupId, int position) override;
    int radioChoice(int groupId) const override;
    void setComboIndex(int id, int index) override;
    int comboIndex(int id) const override;
    void setChecked(int id, bool checked) override;
    bool checked(int id) const override;
    void setSliderRange(int id, int minimum, int maximum, int tickSpacing) override;
    void setSliderPosition(int id, int position) override;
    int sliderPosition(int id) const override;
    void setControlEnabled(int id, bool enabled) override;
    void setMenuItemEnabled(int commandId, bool enabled) override;
    void focus(int id) override;
    Answer message(const std::string& text, Icon icon, Buttons buttons) override;
    std::string chooseFile(FileChoice choice) override;
    std::optional<std::size_t> chooseBackup(const BackupChoice& choice) override;
    void runDeviceStep(const std::function<void()>& step) override;
    void showBusy(bool busy) override;
    void beep() override;
    void startTicks(std::chrono::milliseconds period) override;
    void stopTicks() override;

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    INT_PTR handleMessage(UINT message, WPARAM w, LPARAM l);
    void initialise();
    void onCommand(int id, int notification, HWND control);
    void closeWindow();
    void showVersionBox();
    HWND item(int id) const { return GetDlgItem(handle, id); }

    Win32Prompter& prompter;
    DialogLogic dialogLogic;
    HWND handle = nullptr;
    HMENU menu = nullptr;
    HACCEL acceleratorTable = nullptr;
    HFONT textFont = nullptr; // the English face's Latin font; null for Japanese
    std::vector<HFONT> narrowedFonts;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    std::optional<WaitCursor> waitCursor;
    int busyDepth = 0; // showBusy calls nest
    bool postQuit = false;
};
