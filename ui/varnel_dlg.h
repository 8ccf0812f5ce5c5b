#pragma once

#include "dialog/dialog_values.h"
#include "dialog_builder.h"
#include "timer_resolution.h"

#include "commands/backup_store.h"
#include "commands/connect.h"
#include "commands/outcome.h"
#include "commands/unit_session.h"
#include "device/sleep.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class Prompter;
class QAction;
class QMenuBar;
class QSlider;
class QTimer;
class ComDevice;

// What the dialog needs from outside; tests replace each of them.
struct DialogServices {
    Prompter* prompter = nullptr; // null: the desktop's message boxes and file dialogs
    PortChoice port;              // the port to connect at start-up
    SleepFunction sleep = realSleep;
    // The timer that sends the servo frames; null: a real periodic timer.
    std::function<std::unique_ptr<PeriodicTimer>()> servoTimer;
    // Where every record read from the unit is kept; none: no backups.
    std::optional<std::filesystem::path> backupRoot = BackupStore::defaultRoot();
};

// The main window over a unit session: every control, the exchanges between controls
// and values, the transfers to and from the working image, and the command handlers,
// which call into the session and show the message of its outcome.
//
// Naming: the dialog's boundary (its command handlers On..., the exchange Show/Save and
// the calls tests and the menus reach) keeps PascalCase names; everything else in the
// code, this class's private helpers included, is camelCase.
class VarnelDlg : public QDialog {
    Q_OBJECT

public:
    explicit VarnelDlg(DialogServices services = {}, QWidget* parent = nullptr);
    ~VarnelDlg() override;

    // The initialisation the dialog runs before it first shows: slider set-up, write
    // controls, connecting the adapter. A failed connect ends the dialog here, and
    // exec() then returns at once.
    void initialize();
    int exec() override;
    bool ended() const { return hasEnded; }

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

    QWidget* control(int id) const;
    template <class Widget> Widget* controlAs(int id) const {
        return qobject_cast<Widget*>(control(id));
    }
    QAction* action(int commandId) const;
    QWidget* clientArea() const { return client; }
    const DialogUnits& dialogUnits() const { return units; }

    UnitSession& unitSession() { return session; }
    Kelvo& kelvo() { return session.kelvo(); }
    DialogValues& values() { return dialogValues; }
    bool unitRead() const { return session.unitRead(); }
    Prompter& prompter() const { return *activePrompter; }
    QString filePath() const;
    bool hasFilePath() const { return session.hasFilePath(); }
    LimitPointProcedure& limitPoints() { return session.limitPoints(); }
    bool limitPointModeOn() const { return dialogValues.limitPointMode == 1; }

    // Leaves the limit point mode without storing anything. False when the servo drive
    // could not be switched off.
    bool EndLimitPointMode();
    // The Write command; true when the unit holds what the dialog shows.
    bool WriteToUnit();
    // Runs ahead of both closing paths; false keeps the dialog open.
    bool ConfirmClose();

public slots:
    void OnModeChanged();
    void OnControlResponse(int code);
    void OnChannelChanged();
    void OnSliderScroll(QSlider* slider);

    void OnReadFromUnit();
    void OnWriteToUnit();
    void OnFileInitialize();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnLimitInput();
    void OnLimitSet();
    void OnAbout();

    // The OK-close (Enter, File > Exit) and the Cancel-close (Escape, close box,
    // Alt+F4, failed connect). Both ask ConfirmClose first.
    void accept() override;
    void reject() override;
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void wireControls();
    void setUpSliders();
    void setWriteControls(bool enabled);
    void connectPort();
    void showAfterFill();
    // Tells the user what went wrong, if anything did.
    void showFailure(CommandOutcome outcome);
    // Runs a step that talks to the adapter off the user-interface thread; the window
    // keeps painting but takes no input until the step returns.
    void runDeviceStep(const std::function<void()>& step);
    void endLimitPointModeWithFault();
    // The controls after the session has left the limit point procedure.
    void showLimitPointModeLeft();
    // A refused point ends the procedure after telling the user why.
    void refusePoint(int message);
    // The controls and the servo back to rest: mode off, slider centred and disabled.
    void leaveLimitPointMode();
    void checkServoFrames();
    // Moves a slider without it counting as the user's scroll.
    void placeSlider(QSlider* slider, int position);
    // Every handler the user's controls and menus reach goes through this: while a
    // command runs, nothing new starts, whatever sent the event.
    std::function<void()> whenIdle(std::function<void()> handler);
    std::function<void()> whenIdle(void (VarnelDlg::*handler)());

    DialogServices services;
    std::unique_ptr<Prompter> ownPrompter;
    Prompter* activePrompter;
    TimerResolution timerResolution;
    // The port connected at start-up; it outlives the unit and the servo frames that
    // use it.
    std::unique_ptr<ComDevice> port;
    QString portName;
    std::optional<BackupStore> backups;
    UnitSession session;
    DialogValues dialogValues;

    DialogUnits units;
    QWidget* client = nullptr;
    QMenuBar* menus = nullptr;
    BuiltControls built;
    std::map<int, QAction*> actions;

    QTimer* servoFrameWatch = nullptr;
    // Set while a command handler or a device step runs: no other handler starts then.
    bool commandRunning = false;
    // Where each slider last stood by the user's or the program's hand.
    std::map<QSlider*, int> acceptedPositions;

    bool initialized = false;
    bool hasEnded = false;
    bool placingSliders = false;
};
