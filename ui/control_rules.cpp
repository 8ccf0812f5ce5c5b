// How the dialog reacts when the user changes a radio button, a combo box or a slider.

#include "varnel_dlg.h"

#include "settings/packing.h"

void VarnelDlg::OnModeChanged() {
    Collect();
    ImageToValues();
    ValuesToSliders();
}

void VarnelDlg::OnControlResponse(int code) {
    // Collect first: it packs the gain too, and the preset's gain must be the one that
    // stays, while every other edit made so far is kept.
    Collect();
    const ControlResponsePreset& preset = controlResponsePresets.at(static_cast<std::size_t>(code));
    packControlResponseAndGain(preset.code, preset.governorGain, session.workingImage());
    ImageToValues();
    ValuesToSliders();
}

void VarnelDlg::OnChannelChanged() {
    Collect();
}

void VarnelDlg::OnSliderScroll(QSlider*) {
    SlidersToValues();
    Collect();
}
