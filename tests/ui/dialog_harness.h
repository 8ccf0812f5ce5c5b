#pragma once

// A main dialog connected to the simulated adapter and unit, with scripted boxes and
// pauses that are recorded instead of spent.

#include "scripted_prompter.h"

#include "resources/string_table.h"
#include "settings/settings_image.h"
#include "sim/sim_control.h"
#include "ui/varnel_dlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionSlider>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct DialogHarness {
    explicit DialogHarness(std::string library = VARNEL_SIM_PATH,
                           std::function<std::unique_ptr<PeriodicTimer>()> servoTimer = nullptr)
        : DialogHarness(simulatedAdapter(std::move(library)), std::move(servoTimer)) {}

    explicit DialogHarness(PortChoice port,
                           std::function<std::unique_ptr<PeriodicTimer>()> servoTimer = nullptr) {
        DialogServices services;
        services.servoTimer = std::move(servoTimer);
        services.port = std::move(port);
        services.sleep = [this](std::chrono::milliseconds pause) {
            pauses.push_back(pause);
            if (duringPause) {
                duringPause(pause);
            }
        };
        dialog = std::make_unique<VarnelDlg>(std::move(services), &prompter);
        dialog->initialize();
    }

    // Only the simulated adapter, whatever the machine has plugged in.
    static PortChoice simulatedAdapter(std::string library) {
        PortChoice port;
        port.driverLibrary = std::move(library);
        port.serialFallback = false;
        return port;
    }

    VarnelDlg& operator*() { return *dialog; }
    VarnelDlg* operator->() { return dialog.get(); }

    template <class Widget> Widget* at(int id) { return dialog->controlAs<Widget>(id); }
    QWidget* at(int id) { return dialog->control(id); }

    ScriptedPrompter prompter;
    std::vector<std::chrono::milliseconds> pauses;
    // Runs in place of a pause, on whichever thread pauses.
    std::function<void(std::chrono::milliseconds)> duringPause;
    std::unique_ptr<VarnelDlg> dialog;
};

inline QString message(int id) {
    return QString::fromUtf8(messageText(id));
}

// The record the simulated unit holds now.
inline SettingsImage::Bytes unitRecord() {
    SettingsImage::Bytes record{};
    simGetRecord(record.data());
    return record;
}

inline std::vector<SimServoFrame> servoFrames() {
    std::vector<SimServoFrame> frames(simServoFrameCount());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        simGetServoFrame(i, &frames[i]);
    }
    return frames;
}

// Everything the controls show, for telling whether a command changed the dialog.
inline QStringList shownValues(const VarnelDlg& dialog) {
    QStringList shown;
    for (const QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        shown.append(edit->text());
    }
    for (const QAbstractSlider* slider : dialog.findChildren<QAbstractSlider*>()) {
        shown.append(QString::number(slider->value()));
    }
    for (const QComboBox* combo : dialog.findChildren<QComboBox*>()) {
        shown.append(QString::number(combo->currentIndex()));
    }
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        shown.append(QString::number(int(button->isChecked())) +
                     QString::number(int(button->isEnabled())));
    }
    return shown;
}

// A drag of the handle: the slider moves with tracking, as under the mouse.
inline void dragSlider(QSlider* slider, int position) {
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

// Where the slider's handle stands, for pressing it with the mouse.
inline QPoint handleCentre(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.subControls = QStyle::SC_All;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}
