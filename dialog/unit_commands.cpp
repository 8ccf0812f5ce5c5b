// The Read and Write commands: the dialog's side of them. The sequences, their pauses
// and their outcomes belong to the unit session.

#include "dialog/dialog_logic.h"

void DialogLogic::OnReadFromUnit() {
    CommandScope scope(commandRunning);
    BusyScope busy(view);
    // The session ends a running limit point procedure before the read; the controls
    // leave the mode before the command starts, as on Cancel.
    const bool endsLimitPoints = limitPointModeOn();
    if (endsLimitPoints) {
        showLimitPointModeLeaving();
    }
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.read(); });
    if (endsLimitPoints) {
        showLimitPointModeLeft();
    }
    if (!succeeded(outcome)) {
        showFailure(outcome);
        return;
    }
    dialogValues.guidance.clear();
    SetWriteEnabled(true);
    showAfterFill();
    tell(messageOf(outcome), DialogView::Icon::Information);
}

void DialogLogic::OnWriteToUnit() {
    WriteToUnit();
}

bool DialogLogic::WriteToUnit() {
    CommandScope scope(commandRunning);
    Collect();
    Save();
    const WritePacking packing{dialogValues.panel.controlResponse, dialogValues.panel.governorGain,
                               dialogValues.panel.notUsingId != 0};
    BusyScope busy(view);
    const bool endsLimitPoints = limitPointModeOn();
    if (endsLimitPoints) {
        showLimitPointModeLeaving();
    }
    CommandOutcome outcome = CommandOutcome::Done;
    runDeviceStep([&] { outcome = session.write(packing); });
    if (endsLimitPoints) {
        showLimitPointModeLeft();
    }
    if (!succeeded(outcome)) {
        showFailure(outcome);
        return false;
    }
    dialogValues.guidance.clear();
    showAfterFill();
    tell(messageOf(outcome), DialogView::Icon::Information);
    return true;
}

void DialogLogic::showAfterFill() {
    ImageToValues();
    ValuesToSliders();
    RefreshLimitLabels();
}
