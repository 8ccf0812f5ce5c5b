// The servo limit point procedure: the user drives the servo to each end with the
// servo slider and takes the two points with Set.

#include "varnel_dlg.h"
#include "wait_cursor.h"

#include "device/com_device.h"
#include "language.h"
#include "prompter.h"
#include "resources/string_table.h"
#include "settings/scales.h"

#include <QApplication>
#include <QSlider>
#include <QTimer>

#include <system_error>

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
    bool started = true;
    runDeviceStep([&] {
        try {
            procedure.start(position);
        } catch (const ComDevice::ConnectionError&) {
            started = false;
        } catch (const std::system_error&) { // no thread for the frame timer
            started = false;
        }
    });
    if (!started) {
        endLimitPointModeWithFault();
        return;
    }
    servoFrameWatch->start();
    dialogValues.guidance = uiMessage(msg::setLimitPoint1);
    Show();
}

void VarnelDlg::OnLimitSet() {
    CommandScope scope(commandRunning);
    if (!limitPointModeOn()) {
        return;
    }
    const int position = controlAs<QSlider>(ctl::servoSlider)->value();
    LimitPointProcedure::SetOutcome outcome = LimitPointProcedure::SetOutcome::Ignored;
    runDeviceStep([&] { outcome = procedure.set(position, unit.workingImage); });
    switch (outcome) {
    case LimitPointProcedure::SetOutcome::FirstPointTaken:
        QApplication::beep();
        dialogValues.guidance = uiMessage(msg::setLimitPoint2);
        Show();
        break;
    case LimitPointProcedure::SetOutcome::OutOfRange:
        refusePoint(msg::outOfRange);
        break;
    case LimitPointProcedure::SetOutcome::SameDirection:
        refusePoint(msg::sameDirection);
        break;
    case LimitPointProcedure::SetOutcome::FramesDropped:
        endLimitPointModeWithFault();
        break;
    case LimitPointProcedure::SetOutcome::Stored:
        QApplication::beep();
        servoFrameWatch->stop();
        dialogValues.panel.limitPoint1 = ServoToDisplay(unit.workingImage.limitPoint1());
        dialogValues.panel.limitPoint2 = ServoToDisplay(unit.workingImage.limitPoint2());
        leaveLimitPointMode();
        dialogValues.guidance = uiMessage(msg::pressWrite);
        Show();
        break;
    case LimitPointProcedure::SetOutcome::Ignored:
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
    bool servoDriveOff = true;
    runDeviceStep([&] {
        try {
            procedure.end();
        } catch (const ComDevice::ConnectionError&) {
            servoDriveOff = false;
        }
    });
    leaveLimitPointMode();
    dialogValues.guidance.clear();
    Show();
    return servoDriveOff;
}

void VarnelDlg::endLimitPointModeWithFault() {
    EndLimitPointMode();
    showMessage(*activePrompter, msg::adapterFault, Prompter::Icon::Error);
}

void VarnelDlg::checkServoFrames() {
    // A command under way ends the procedure itself, in its own order.
    if (commandRunning || !limitPointModeOn() || !procedure.framesDropped()) {
        return;
    }
    CommandScope scope(commandRunning);
    endLimitPointModeWithFault();
}
