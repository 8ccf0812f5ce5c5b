// How the dialog reacts when the user changes a radio button, a combo box or a slider.

#include "dialog/dialog_logic.h"

#include "settings/packing.h"

void DialogLogic::OnModeChanged() {
    Collect();
    ImageToValues();
    ValuesToSliders();
}

void DialogLogic::OnControlResponse(int code) {
    // Collect first: it packs the gain too, and the preset's gain must be the one that
    // stays, while every other edit made so far is kept.
    Collect();
    const ControlResponsePreset& preset = controlResponsePresets.at(static_cast<std::size_t>(code));
    packControlResponseAndGain(preset.code, preset.governorGain, session.workingImage());
    ImageToValues();
    ValuesToSliders();
}

void DialogLogic::OnChannelChanged() {
    Collect();
}

void DialogLogic::OnSliderScroll() {
    SlidersToValues();
    Collect();
}
