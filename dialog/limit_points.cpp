// The servo limit point procedure: the user drives the servo to each end with the
// servo slider and takes the two points with Set.

#include "dialog/dialog_logic.h"

#include "dialog/control_table.h"

#include "resources/text_catalogue.h"
#include "settings/scales.h"

void DialogLogic::OnLimitInput() {
    CommandScope scope(commandRunning);
    Save();
    if (!limitPointModeOn()) {
        const bool servoDriveOff = EndLimitPointMode();
        tell(servoDriveOff ? msg::limitCancelled : msg::adapterFault,
             servoDriveOff ? DialogView::Icon::Warning : DialogView::Icon::Error);
        return;
    }
    EnableLimitControls(true);
    const int position = view.sliderPosition(ctl::servoSlider);
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.startLimitPoints(position); });
    if (!succeeded(outcome)) {
        // The session has ended the procedure again.
        showLimitPointModeLeft();
        showFailure(outcome);
        return;
    }
    view.startTicks(LimitPointProcedure::framePeriod * 2);
    dialogValues.guidance = localMessage(messageOf(outcome));
    Show();
}

void DialogLogic::OnLimitSet() {
    CommandScope scope(commandRunning);
    if (!limitPointModeOn()) {
        return;
    }
    const int position = view.sliderPosition(ctl::servoSlider);
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.setLimitPoint(position); });
    switch (outcome) {
    case CommandOutcome::LimitPoint2Wanted:
        view.beep();
        dialogValues.guidance = localMessage(messageOf(outcome));
        Show();
        break;
    case CommandOutcome::LimitOutOfRange:
    case CommandOutcome::LimitSameDirection:
        refusePoint(messageOf(outcome));
        break;
    case CommandOutcome::LimitPointsStored: {
        view.beep();
        const SettingsImage& image = session.workingImage();
        dialogValues.panel.limitPoint1 = servoToDisplay(image.limitPoint1());
        dialogValues.panel.limitPoint2 = servoToDisplay(image.limitPoint2());
        leaveLimitPointMode();
        SlidersToValues();
        dialogValues.guidance = localMessage(messageOf(outcome));
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

void DialogLogic::refusePoint(int message) {
    tell(message, DialogView::Icon::Error);
    if (!EndLimitPointMode()) {
        tell(msg::adapterFault, DialogView::Icon::Error);
    }
}

void DialogLogic::leaveLimitPointMode() {
    view.stopTicks();
    dialogValues.limitPointMode = 0;
    EnableLimitControls(false);
    placeSlider(ctl::servoSlider, servoSliderCentre);
}

bool DialogLogic::EndLimitPointMode() {
    view.stopTicks();
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.endLimitPoints(); });
    showLimitPointModeLeft();
    return outcome == CommandOutcome::Done;
}

void DialogLogic::showLimitPointModeLeaving() {
    // Only the controls: the servo is the command's to release, in its own order.
    leaveLimitPointMode();
    dialogValues.panel.servoPosition = servoToDisplay(sliderToServoUnits(servoSliderCentre));
    dialogValues.guidance.clear();
    Show();
}

void DialogLogic::showLimitPointModeLeft() {
    leaveLimitPointMode();
    SlidersToValues();
    dialogValues.guidance.clear();
    Show();
}

void DialogLogic::endLimitPointModeWithFault() {
    EndLimitPointMode();
    tell(msg::adapterFault, DialogView::Icon::Error);
}

void DialogLogic::Tick() {
    // A command under way ends the procedure itself, in its own order.
    if (commandRunning || !limitPointModeOn() || !session.limitPoints().framesDropped()) {
        return;
    }
    CommandScope scope(commandRunning);
    endLimitPointModeWithFault();
}
