#pragma once

#include "dialog/backup_choice.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// What the dialog logic needs from a face (a toolkit's window built from the control
// table). Controls are addressed by their id, menu items by their command id, radio
// groups by the id of their first button; every text is UTF-8. Nothing the logic sets
// through this counts as the user's action: a face reports only the user's own.
class DialogView {
public:
    enum class Icon { Error, Information, Warning, Question };
    enum class Buttons { Ok, YesNo, RetryCancel };
    enum class Answer { Ok, Yes, No, Retry, Cancel };
    enum class FileChoice { Open, Save };

    virtual ~DialogView() = default;

    // An edit's text.
    virtual void setText(int id, const std::string& text) = 0;
    virtual std::string text(int id) const = 0;
    // The position of the checked button in a radio group; -1 for none.
    virtual void setRadioChoice(int groupId, int position) = 0;
    virtual int radioChoice(int groupId) const = 0;
    // A combo box's selected item; -1 for none, and for an index the list does not hold.
    virtual void setComboIndex(int id, int index) = 0;
    virtual int comboIndex(int id) const = 0;
    // A check box's state, the push-like Input button's too.
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool checked(int id) const = 0;
    // A slider's range and tick spacing; its page step is a fifth of the range.
    virtual void setSliderRange(int id, int minimum, int maximum, int tickSpacing) = 0;
    // A slider's position, clamped to its range.
    virtual void setSliderPosition(int id, int position) = 0;
    virtual int sliderPosition(int id) const = 0;

    virtual void setControlEnabled(int id, bool enabled) = 0;
    virtual void setMenuItemEnabled(int commandId, bool enabled) = 0;
    // Moves the keyboard focus to a control.
    virtual void focus(int id) = 0;

    // A message box with the program's name as caption; returns the user's answer.
    virtual Answer message(const std::string& text, Icon icon, Buttons buttons) = 0;
    // The settings file the user picks (the .gvx filter), as a UTF-8 path; empty when
    // the user cancels.
    virtual std::string chooseFile(FileChoice choice) = 0;
    // The list of backups with the selected row's differences, and Open and Cancel;
    // returns the row Open took, none after Cancel.
    virtual std::optional<std::size_t> chooseBackup(const BackupChoice& choice) = 0;

    // Runs step off the window's thread and returns once it has: the window keeps
    // painting meanwhile but takes no input. Rethrows what step throws.
    virtual void runDeviceStep(const std::function<void()>& step) = 0;
    // The wait cursor, on or off; calls nest, the cursor stays until the last "off".
    virtual void showBusy(bool busy) = 0;
    virtual void beep() = 0;
    // From start until stop, the face calls DialogLogic::Tick() once per period.
    virtual void startTicks(std::chrono::milliseconds period) = 0;
    virtual void stopTicks() = 0;
};
