#pragma once

#include "dialog/command_scope.h"
#include "dialog/dialog_values.h"
#include "dialog/dialog_view.h"

#include "commands/backup_store.h"
#include "commands/connect.h"
#include "commands/outcome.h"
#include "commands/unit_session.h"
#include "device/platform/timer_resolution.h"
#include "device/sleep.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class ComDevice;
class PeriodicTimer;

// What the dialog needs from outside; tests replace each of them.
struct DialogServices {
    PortChoice port; // the port to connect at start-up
    SleepFunction sleep = realSleep;
    // The timer that sends the servo frames; null: a real periodic timer.
    std::function<std::unique_ptr<PeriodicTimer>()> servoTimer;
    // Where every record read from the unit is kept; none: no backups.
    std::optional<std::filesystem::path> backupRoot = BackupStore::defaultRoot();
};

// The main dialog's behaviour, for every face: the exchanges between the controls and
// the values, the transfers to and from the working image, the control and enable
// rules, and the commands, which call into the unit session and show the message of
// its outcome. A face builds its window from the control and menu tables, implements
// DialogView, and forwards the user's actions here.
//
// Naming: the dialog's boundary (its command handlers On..., the exchange Show/Save and
// what faces and tests reach) keeps PascalCase names; everything else is camelCase.
class DialogLogic {
public:
    explicit DialogLogic(DialogView& view, DialogServices services = {});
    ~DialogLogic();
    DialogLogic(const DialogLogic&) = delete;
    DialogLogic& operator=(const DialogLogic&) = delete;

    // Runs once, before the window first shows: fills the controls, sets up the sliders
    // and the write controls, connects the adapter. False when the connect failed,
    // after telling the user: the face then closes the window the Cancel way.
    bool Start();

    // Entry points of the face. Each goes through the command gate: while a command or
    // a device step runs, nothing new starts, whatever sent the event, and the controls
    // go back to what the values say.
    // The user clicked, chose or scrolled a control of the table.
    void OnControl(int id);
    // A menu command of the table other than Exit and About, which the face runs
    // itself (through Admit()).
    void OnMenu(int commandId);
    // The gate by itself, for what the face runs on its own: false while busy.
    bool Admit();
    // The OK-close (Enter, File > Exit) and the Cancel-close (Escape, the close box).
    // True when the face may close the window now.
    bool OkClose();
    bool CancelClose();
    // The frame watch; the face calls it once per period between startTicks and
    // stopTicks.
    void Tick();
    bool Busy() const { return commandRunning; }

    // The exchange between controls and values. Save stops at the first edit whose
    // text does not parse, after telling the user, and returns false.
    void Show();
    bool Save();
    void SetWriteEnabled(bool enabled);
    void RefreshLimitLabels();
    // The servo slider and the Set button follow the limit point mode.
    void EnableLimitControls(bool enabled);
    void Collect();
    void ImageToValues();
    void ValuesToSliders();
    void SlidersToValues();

    void OnModeChanged();
    void OnControlResponse(int code);
    void OnChannelChanged();
    void OnSliderScroll();
    void OnReadFromUnit();
    void OnWriteToUnit();
    void OnFileInitialize();
    void OnFileOpen();
    // The list of backups; the one chosen loads as Open loads a file, but is not
    // remembered, so that no later Save writes over it.
    void OnFileOpenBackup();
    void OnFileSave();
    void OnFileSaveAs();
    void OnLimitInput();
    void OnLimitSet();

    // Leaves the limit point mode without storing anything. False when the servo drive
    // could not be switched off.
    bool EndLimitPointMode();
    // The Write command; true when the unit holds what the dialog shows.
    bool WriteToUnit();
    // Runs ahead of both closing paths; false keeps the dialog open.
    bool ConfirmClose();

    UnitSession& unitSession() { return session; }
    Kelvo& kelvo() { return session.kelvo(); }
    DialogValues& values() { return dialogValues; }
    bool unitRead() const { return session.unitRead(); }
    // The remembered settings file, UTF-8.
    const std::string& filePath() const { return session.filePath(); }
    bool hasFilePath() const { return session.hasFilePath(); }
    LimitPointProcedure& limitPoints() { return session.limitPoints(); }
    bool limitPointModeOn() const { return dialogValues.limitPointMode == 1; }
    // The connected port as the version box names it, "QB-7: /dev/ttyUSB0".
    const std::string& portName() const { return connectedPort; }

private:
    bool connectPort();
    void setUpSliders();
    void setWriteControls(bool enabled);
    // Moves a slider without it counting as the user's scroll.
    void placeSlider(int id, int position);
    void showAfterFill();
    // Open's load of a chosen file; remember: whether Save then writes to it.
    void loadFile(const std::string& path, bool remember);
    // The record the dialog's values make now: what a Write would send.
    SettingsImage shownImage();
    // A message of the string table in the interface language.
    DialogView::Answer tell(int messageId, DialogView::Icon icon,
                            DialogView::Buttons buttons = DialogView::Buttons::Ok);
    // Tells the user what went wrong, if anything did.
    void showFailure(CommandOutcome outcome);
    // Runs a step that talks to the adapter through the face, as a command.
    void runDeviceStep(const std::function<void()>& step);
    void endLimitPointModeWithFault();
    // A refused point ends the procedure after telling the user why.
    void refusePoint(int message);
    // The controls back to rest: mode off, frame watch off, slider centred and disabled.
    void leaveLimitPointMode();
    // The controls as a Read or a Write that ends the procedure begins; the session
    // releases the servo.
    void showLimitPointModeLeaving();
    // The controls and the values after the session has left the procedure.
    void showLimitPointModeLeft();

    DialogServices services;
    DialogView& view;
    // The servo frames keep their rhythm only with the system timer at its finest.
    TimerResolution timerResolution;
    // The port connected at start-up; it outlives the unit and the servo frames that
    // use it.
    std::unique_ptr<ComDevice> port;
    std::string connectedPort;
    std::optional<BackupStore> backups;
    UnitSession session;
    DialogValues dialogValues;
    // Set while a command handler or a device step runs: no other handler starts then.
    bool commandRunning = false;
    bool started = false;
    // Where each slider last stood by the user's or the program's hand.
    std::map<int, int> acceptedPositions;
};
