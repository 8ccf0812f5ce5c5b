#pragma once

#include "settings/panel_values.h"

#include <string>

// Everything the dialog exchange moves between the controls and memory: the settings
// values plus the few values that belong to the window itself. Texts are UTF-8.
struct DialogValues {
    PanelValues panel;
    std::string limitLabel1;
    std::string limitLabel2;
    std::string guidance;
    int limitPointMode = 0; // check state of the Input button
};
