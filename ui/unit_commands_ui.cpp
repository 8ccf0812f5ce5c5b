// The Read and Write commands: the dialog's side of them. The device steps, their
// pauses and the messages they map to live in the commands layer.

#include "varnel_dlg.h"
#include "wait_cursor.h"

#include "commands/unit_commands.h"
#include "prompter.h"
#include "resources/string_table.h"
#include "settings/packing.h"

void VarnelDlg::OnReadFromUnit() {
    CommandScope scope(commandRunning);
    WaitCursor wait;
    // The servo frames stop before the adapter carries this command's bytes.
    if (limitPointModeOn() && !EndLimitPointMode()) {
        showMessage(*activePrompter, msg::readError, Prompter::Icon::Error);
        return;
    }
    UnitCommandResult result;
    runDeviceStep([&] { result = readFromUnit(unit, *unit.device, services.sleep); });
    if (!result.succeeded) {
        showMessage(*activePrompter, result.message, Prompter::Icon::Error);
        return;
    }
    dialogValues.guidance.clear();
    hasReadUnit = true;
    SetWriteEnabled(true);
    showAfterFill();
    showMessage(*activePrompter, result.message, Prompter::Icon::Information);
}

void VarnelDlg::OnWriteToUnit() {
    WriteToUnit();
}

bool VarnelDlg::WriteToUnit() {
    CommandScope scope(commandRunning);
    Collect();
    Save();
    packControlResponseAndGain(dialogValues.panel.controlResponse, dialogValues.panel.governorGain,
                               unit.workingImage);
    WaitCursor wait;
    if (limitPointModeOn() && !EndLimitPointMode()) {
        showMessage(*activePrompter, msg::writeError, Prompter::Icon::Error);
        return false;
    }
    UnitCommandResult result;
    runDeviceStep(
        [&] { result = writeToUnit(unit, dialogValues.panel.notUsingId != 0, services.sleep); });
    if (!result.succeeded) {
        showMessage(*activePrompter, result.message, Prompter::Icon::Error);
        return false;
    }
    dialogValues.guidance.clear();
    showAfterFill();
    showMessage(*activePrompter, result.message, Prompter::Icon::Information);
    return true;
}

void VarnelDlg::showAfterFill() {
    ImageToValues();
    ValuesToSliders();
    RefreshLimitLabels();
}
