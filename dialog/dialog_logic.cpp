// The logic's boundary: start-up, the command gate and the routes from the faces'
// events to the handlers.

#include "dialog/dialog_logic.h"

#include "dialog/control_table.h"
#include "dialog/menu_table.h"

#include "device/adapter.h"
#include "device/com_device.h"
#include "device/servo_frame.h"
#include "resources/text_catalogue.h"
#include "settings/scales.h"

#include <cstdio>
#include <string_view>

DialogLogic::DialogLogic(DialogView& givenView, DialogServices givenServices)
    : services(std::move(givenServices)), view(givenView),
      session(
          theAdapter(), services.sleep, [this] { sendServoFrameThrough(*session.kelvo().device); },
          services.servoTimer ? services.servoTimer() : nullptr) {
    if (services.backupRoot) {
        // A backup that cannot be kept never fails the Read; the line on standard error
        // is all that tells of it.
        backups.emplace(*services.backupRoot, [](std::string_view line) {
            std::fprintf(stderr, "varnel: warning: %.*s\n", static_cast<int>(line.size()),
                         line.data());
        });
        session.keepBackupsIn(&*backups);
    }
}

DialogLogic::~DialogLogic() {
    if (port && &theAdapter() == port.get()) {
        chooseAdapter(nullptr);
    }
}

bool DialogLogic::Start() {
    if (started) {
        return true;
    }
    started = true;
    Show();
    setUpSliders();
    setWriteControls(session.unitRead());
    Show();
    const bool connected = connectPort();
    EnableLimitControls(false);
    RefreshLimitLabels();
    view.focus(ctl::firstChannel);
    return connected;
}

bool DialogLogic::connectPort() {
    Connection connection = connectAdapter(services.port);
    while (connection.message != noMessage) {
        // An adapter plugged in after the start is found by trying again; a driver
        // library that cannot be bound stays so, and has only OK.
        const bool retryable = connection.message == msg::adapterMissing;
        const DialogView::Answer answer = view.message(
            localMessage(connection.message, connection.device), DialogView::Icon::Error,
            retryable ? DialogView::Buttons::RetryCancel : DialogView::Buttons::Ok);
        if (!retryable || answer != DialogView::Answer::Retry) {
            return false;
        }
        connection = connectAdapter(services.port);
    }
    port = std::move(connection.port);
    session.usePort(*port);
    chooseAdapter(port.get());
    connectedPort = portLabel(connection);
    return true;
}

void DialogLogic::setUpSliders() {
    for (const SliderSetup& setup : sliderTable) {
        view.setSliderRange(setup.id, setup.minimum, setup.maximum, setup.tickSpacing);
        if (setup.field == SliderField::Servo) {
            view.setSliderPosition(setup.id, servoSliderCentre);
        }
        acceptedPositions[setup.id] = view.sliderPosition(setup.id);
    }
}

void DialogLogic::placeSlider(int id, int position) {
    view.setSliderPosition(id, position);
    acceptedPositions[id] = view.sliderPosition(id);
}

bool DialogLogic::Admit() {
    if (commandRunning) {
        // A click, a choice or a screen reader's action arriving while a command runs
        // starts nothing; the control goes back to what the values say.
        Show();
        return false;
    }
    return true;
}

void DialogLogic::OnControl(int id) {
    const ControlRow& row = controlRow(id);
    if (row.handler == Handler::SliderScroll) {
        if (commandRunning) {
            // Moved by something that bypasses input events (a screen reader): back to
            // where the dialog had it.
            placeSlider(id, acceptedPositions[id]);
            return;
        }
        acceptedPositions[id] = view.sliderPosition(id);
    }
    if (!Admit()) {
        return;
    }
    switch (row.handler) {
    case Handler::None:
        break;
    case Handler::ModeChanged:
        OnModeChanged();
        break;
    case Handler::ControlResponse:
        OnControlResponse(radioPlace(id)->position);
        break;
    case Handler::ChannelChanged:
        OnChannelChanged();
        break;
    case Handler::SliderScroll:
        OnSliderScroll();
        break;
    case Handler::LimitInput:
        OnLimitInput();
        break;
    case Handler::LimitSet:
        OnLimitSet();
        break;
    case Handler::ReadFromUnit:
        OnReadFromUnit();
        break;
    case Handler::WriteToUnit:
        OnWriteToUnit();
        break;
    }
}

void DialogLogic::OnMenu(int commandId) {
    if (!Admit()) {
        return;
    }
    switch (commandId) {
    case command::initialize:
        OnFileInitialize();
        break;
    case command::open:
        OnFileOpen();
        break;
    case command::openBackup:
        OnFileOpenBackup();
        break;
    case command::save:
        OnFileSave();
        break;
    case command::saveAs:
        OnFileSaveAs();
        break;
    case command::read:
        OnReadFromUnit();
        break;
    case command::write:
        OnWriteToUnit();
        break;
    default:
        break;
    }
}

bool DialogLogic::OkClose() {
    return ConfirmClose() && Save();
}

bool DialogLogic::CancelClose() {
    return ConfirmClose();
}

void DialogLogic::setWriteControls(bool enabled) {
    view.setControlEnabled(ctl::writeButton, enabled);
    view.setControlEnabled(ctl::inputButton, enabled);
    view.setMenuItemEnabled(command::write, enabled);
}

void DialogLogic::SetWriteEnabled(bool enabled) {
    setWriteControls(enabled);
    Show();
}

void DialogLogic::EnableLimitControls(bool enabled) {
    view.setControlEnabled(ctl::servoSlider, enabled);
    view.setControlEnabled(ctl::setButton, enabled);
}

void DialogLogic::RefreshLimitLabels() {
    dialogValues.limitLabel1 = localMessage(msg::limitLabelUp);
    dialogValues.limitLabel2 = localMessage(msg::limitLabelDown);
    Show();
}

void DialogLogic::runDeviceStep(const std::function<void()>& step) {
    CommandScope scope(commandRunning);
    view.runDeviceStep(step);
}

DialogView::Answer DialogLogic::tell(int messageId, DialogView::Icon icon,
                                     DialogView::Buttons buttons) {
    return view.message(localMessage(messageId), icon, buttons);
}

void DialogLogic::showFailure(CommandOutcome outcome) {
    if (const int message = messageOf(outcome); message != noMessage) {
        tell(message, DialogView::Icon::Error);
    }
}
