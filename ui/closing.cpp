// What happens before the dialog closes: the servo is released, and settings that
// never reached the unit are offered for writing or reported as dropped.

#include "varnel_dlg.h"

#include "prompter.h"
#include "resources/string_table.h"

bool VarnelDlg::ConfirmClose() {
    if (limitPointModeOn() && !EndLimitPointMode()) {
        showMessage(*activePrompter, msg::adapterFault, Prompter::Icon::Error);
    }
    switch (session.closeQuestion()) {
    case CloseQuestion::None:
        return true;
    case CloseQuestion::OfferWrite:
        if (showMessage(*activePrompter, msg::writeBeforeExit, Prompter::Icon::Question,
                        Prompter::Buttons::YesNo) != Prompter::Answer::Yes) {
            return true;
        }
        // A failed write keeps the dialog open, so the changes are not lost unseen.
        return WriteToUnit();
    case CloseQuestion::Discard:
        showMessage(*activePrompter, msg::changesDiscarded, Prompter::Icon::Warning);
        return true;
    }
    return true;
}
