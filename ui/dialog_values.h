#pragma once

#include "settings/panel_values.h"

#include <QString>

// Everything the dialog exchange moves between the controls and memory: the settings
// values plus the few values that belong to the window itself.
struct DialogValues {
    PanelValues panel;
    QString limitLabel1;
    QString limitLabel2;
    QString guidance;
    int limitPointMode = 0; // check state of the Input button
};
