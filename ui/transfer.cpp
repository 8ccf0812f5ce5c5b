// Moving settings between the controls, the dialog values and the working image.

#include "varnel_dlg.h"

#include "settings/packing.h"
#include "settings/scales.h"

#include <QSlider>

void VarnelDlg::Collect() {
    // A refused Save still leaves every value read before the refusal; packing goes on
    // with what there is.
    Save();
    packValues(dialogValues.panel, session.workingImage());
    RefreshLimitLabels();
}

void VarnelDlg::ImageToValues() {
    unpackImage(session.workingImage(), dialogValues.panel);
    Show();
}

void VarnelDlg::ValuesToSliders() {
    for (const SliderSetup& setup : sliderTable) {
        if (setup.field != SliderField::Servo) {
            placeSlider(controlAs<QSlider>(setup.id),
                        sliderPositionFor(dialogValues.panel, setup.field));
        }
    }
    Show();
}

void VarnelDlg::SlidersToValues() {
    for (const SliderSetup& setup : sliderTable) {
        const int position = controlAs<QSlider>(setup.id)->value();
        if (setup.field == SliderField::Servo) {
            dialogValues.panel.servoPosition = servoToDisplay(sliderToServoUnits(position));
            session.moveServo(position);
        } else {
            storeSliderPosition(dialogValues.panel, setup.field, position);
        }
    }
    Show();
}
