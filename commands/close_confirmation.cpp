#include "commands/close_confirmation.h"

#include "settings/settings_image.h"

CloseQuestion closeQuestion(const SettingsImage& working, const SettingsImage& received,
                            bool unitRead) {
    if (working.sameSettings(received)) {
        return CloseQuestion::None;
    }
    return unitRead ? CloseQuestion::OfferWrite : CloseQuestion::Discard;
}
