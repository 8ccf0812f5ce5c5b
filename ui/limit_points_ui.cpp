// The servo limit point procedure: the user drives the servo to each end with the
// servo slider and takes the two points with Set.

#include "varnel_dlg.h"
#include "wait_cursor.h"

#include "language.h"
#include "prompter.h"
#include "resources/string_table.h"
#include "settings/scales.h"

#include <QApplication>
#include <QSlider>
#include <QTimer>

void VarnelDlg::OnLimitInput() {
    CommandScope scope(commandRunning);
    Save();
    if (!limitPointModeOn()) {
        const bool servoDriveOff = EndLimitPointMode();
        showMessage(*activePrompter, servoDriveOff ? msg::limitCancelled : msg::adapterFault,
                    servoDriveOff ? Prompter::Icon::Warning : Prompter::Icon::Error);
        return;
    }
    EnableLimitControls(true);
    const int position = controlAs<QSlider>(ctl::servoSlider)->value();
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.startLimitPoints(position); });
    if (!succeeded(outcome)) {
        // The session has ended the procedure again.
        showLimitPointModeLeft();
        showFailure(outcome);
        return;
    }
    servoFrameWatch->start();
    dialogValues.guidance = uiMessage(messageOf(outcome)).toStdString();
    Show();
}

void VarnelDlg::OnLimitSet() {
    CommandScope scope(commandRunning);
    if (!limitPointModeOn()) {
        return;
    }
    const int position = controlAs<QSlider>(ctl::servoSlider)->value();
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.setLimitPoint(position); });
    switch (outcome) {
    case CommandOutcome::LimitPoint2Wanted:
        QApplication::beep();
        dialogValues.guidance = uiMessage(messageOf(outcome)).toStdString();
        Show();
        break;
    case CommandOutcome::LimitOutOfRange:
    case CommandOutcome::LimitSameDirection:
        refusePoint(messageOf(outcome));
        break;
    case CommandOutcome::LimitPointsStored: {
        QApplication::beep();
        servoFrameWatch->stop();
        const SettingsImage& image = session.workingImage();
        dialogValues.panel.limitPoint1 = servoToDisplay(image.limitPoint1());
        dialogValues.panel.limitPoint2 = servoToDisplay(image.limitPoint2());
        leaveLimitPointMode();
        dialogValues.guidance = uiMessage(messageOf(outcome)).toStdString();
        Show();
        break;
    }
    case CommandOutcome::AdapterFault: // the servo may not stand where the slider says
        endLimitPointModeWithFault();
        break;
    default:
        break;
    }
}

void VarnelDlg::refusePoint(int message) {
    showMessage(*activePrompter, message, Prompter::Icon::Error);
    if (!EndLimitPointMode()) {
        showMessage(*activePrompter, msg::adapterFault, Prompter::Icon::Error);
    }
}

void VarnelDlg::leaveLimitPointMode() {
    dialogValues.limitPointMode = 0;
    EnableLimitControls(false);
    placeSlider(controlAs<QSlider>(ctl::servoSlider), servoSliderCentre);
    SlidersToValues();
}

bool VarnelDlg::EndLimitPointMode() {
    servoFrameWatch->stop();
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.endLimitPoints(); });
    showLimitPointModeLeft();
    return outcome == CommandOutcome::Done;
}

void VarnelDlg::showLimitPointModeLeft() {
    servoFrameWatch->stop();
    leaveLimitPointMode();
    dialogValues.guidance.clear();
    Show();
}

void VarnelDlg::endLimitPointModeWithFault() {
    EndLimitPointMode();
    showMessage(*activePrompter, msg::adapterFault, Prompter::Icon::Error);
}

void VarnelDlg::checkServoFrames() {
    // A command under way ends the procedure itself, in its own order.
    if (commandRunning || !limitPointModeOn() || !session.limitPoints().framesDropped()) {
        return;
    }
    CommandScope scope(commandRunning);
    endLimitPointModeWithFault();
}
