#pragma once

// A main dialog connected to the simulated adapter and unit, with scripted boxes and
// pauses that are recorded instead of spent.

#include "scripted_prompter.h"

#include "device/zabro.h"
#include "resources/string_table.h"
#include "sim/sim_control.h"
#include "ui/varnel_dlg.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class QSlider;

struct DialogHarness {
    explicit DialogHarness(std::string library = VARNEL_SIM_PATH) {
        DialogServices services;
        services.prompter = &prompter;
        services.driverLibrary = std::move(library);
        services.sleep = [this](std::chrono::milliseconds pause) { pauses.push_back(pause); };
        services.adapter = &adapter;
        dialog = std::make_unique<VarnelDlg>(std::move(services));
        dialog->initialize();
    }

    VarnelDlg& operator*() { return *dialog; }
    VarnelDlg* operator->() { return dialog.get(); }

    template <class Widget> Widget* at(int id) { return dialog->controlAs<Widget>(id); }
    QWidget* at(int id) { return dialog->control(id); }

    // Destroyed after the dialog, which holds a pointer to it.
    Zabro adapter;
    ScriptedPrompter prompter;
    std::vector<std::chrono::milliseconds> pauses;
    std::unique_ptr<VarnelDlg> dialog;
};

inline QString message(int id) {
    return QString::fromUtf8(messageText(id));
}
