#pragma once

class SettingsImage;

enum class CloseQuestion {
    None,       // nothing unwritten: close without asking
    OfferWrite, // a unit was read: offer to write before closing
    Discard,    // no unit was read: warn that the changes are dropped
};

// Compares what is edited with what the unit last reported, over the settings bytes.
CloseQuestion closeQuestion(const SettingsImage& working, const SettingsImage& received,
                            bool unitRead);
