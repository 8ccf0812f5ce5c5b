// What happens before the dialog closes: the servo is released, and settings that
// never reached the unit are offered for writing or reported as dropped.

#include "dialog/dialog_logic.h"

#include "resources/string_table.h"

bool DialogLogic::ConfirmClose() {
    if (limitPointModeOn() && !EndLimitPointMode()) {
        tell(msg::adapterFault, DialogView::Icon::Error);
    }
    switch (session.closeQuestion()) {
    case CloseQuestion::None:
        return true;
    case CloseQuestion::OfferWrite:
        if (tell(msg::writeBeforeExit, DialogView::Icon::Question, DialogView::Buttons::YesNo) !=
            DialogView::Answer::Yes) {
            return true;
        }
        // A failed write keeps the dialog open, so the changes are not lost unseen.
        return WriteToUnit();
    case CloseQuestion::Discard:
        tell(msg::changesDiscarded, DialogView::Icon::Warning);
        return true;
    }
    return true;
}
