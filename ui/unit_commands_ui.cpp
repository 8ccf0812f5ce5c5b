// The Read and Write commands: the dialog's side of them. The sequences, their pauses
// and their outcomes belong to the unit session.

#include "varnel_dlg.h"
#include "wait_cursor.h"

#include "prompter.h"

void VarnelDlg::OnReadFromUnit() {
    CommandScope scope(commandRunning);
    WaitCursor wait;
    // The session ends a running limit point procedure before the read; the controls
    // follow once the step is over.
    const bool endsLimitPoints = limitPointModeOn();
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
    showMessage(*activePrompter, messageOf(outcome), Prompter::Icon::Information);
}

void VarnelDlg::OnWriteToUnit() {
    WriteToUnit();
}

bool VarnelDlg::WriteToUnit() {
    CommandScope scope(commandRunning);
    Collect();
    Save();
    const WritePacking packing{dialogValues.panel.controlResponse, dialogValues.panel.governorGain,
                               dialogValues.panel.notUsingId != 0};
    WaitCursor wait;
    const bool endsLimitPoints = limitPointModeOn();
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
    showMessage(*activePrompter, messageOf(outcome), Prompter::Icon::Information);
    return true;
}

void VarnelDlg::showAfterFill() {
    ImageToValues();
    ValuesToSliders();
    RefreshLimitLabels();
}

void VarnelDlg::showFailure(CommandOutcome outcome) {
    if (const int message = messageOf(outcome); message != noMessage) {
        showMessage(*activePrompter, message, Prompter::Icon::Error);
    }
}
