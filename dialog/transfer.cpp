// Moving settings between the controls, the dialog values and the working image.

#include "dialog/dialog_logic.h"

#include "dialog/control_table.h"

#include "settings/packing.h"
#include "settings/scales.h"

void DialogLogic::Collect() {
    // A refused Save still leaves every value read before the refusal; packing goes on
    // with what there is.
    Save();
    packValues(dialogValues.panel, session.workingImage());
    RefreshLimitLabels();
}

void DialogLogic::ImageToValues() {
    unpackImage(session.workingImage(), dialogValues.panel);
    Show();
}

void DialogLogic::ValuesToSliders() {
    for (const SliderSetup& setup : sliderTable) {
        if (setup.field != SliderField::Servo) {
            placeSlider(setup.id, sliderPositionFor(dialogValues.panel, setup.field));
        }
    }
    Show();
}

void DialogLogic::SlidersToValues() {
    for (const SliderSetup& setup : sliderTable) {
        const int position = view.sliderPosition(setup.id);
        if (setup.field == SliderField::Servo) {
            dialogValues.panel.servoPosition = servoToDisplay(sliderToServoUnits(position));
            session.moveServo(position);
        } else {
            storeSliderPosition(dialogValues.panel, setup.field, position);
        }
    }
    Show();
}
