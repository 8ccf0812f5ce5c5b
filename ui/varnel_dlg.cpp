#include "varnel_dlg.h"

#include "about_dlg.h"
#include "accessibility.h"
#include "language.h"
#include "qt_prompter.h"

#include "commands/outcome.h"
#include "device/adapter.h"
#include "device/servo_frame.h"
#include "resources/artwork.h"
#include "resources/string_table.h"
#include "settings/scales.h"
#include "varnel_config.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <string_view>

VarnelDlg::VarnelDlg(DialogServices givenServices, QWidget* parent)
    : QDialog(parent), services(std::move(givenServices)),
      ownPrompter(services.prompter ? nullptr : std::make_unique<QtPrompter>(this)),
      activePrompter(services.prompter ? services.prompter : ownPrompter.get()),
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
    setWindowTitle(QStringLiteral("Varnel " VARNEL_VERSION));
    setWindowIcon(programIcon());
    setFont(dialogFont());
    units = DialogUnits::fromFont(layoutFont());

    // The template's size is the client area; the menu bar sits on top of it.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    client = new QWidget(this);
    client->setFixedSize(units.toPixels(dialogTemplateSize).size());
    layout->addWidget(client);

    buildMenus();
    built = buildControls(controlTable(), client, units);
    describeForScreenReaders(client);
    controlAs<QLabel>(ctl::logo)->setPixmap(logoBitmap());
    wireControls();

    // A servo frame that cannot be sent ends the limit point procedure; the timer
    // thread only counts it, and the dialog looks.
    servoFrameWatch = new QTimer(this);
    servoFrameWatch->setInterval(LimitPointProcedure::framePeriod * 2);
    connect(servoFrameWatch, &QTimer::timeout, this, &VarnelDlg::checkServoFrames);
}

VarnelDlg::~VarnelDlg() {
    if (port && &theAdapter() == port.get()) {
        chooseAdapter(nullptr);
    }
}

QWidget* VarnelDlg::control(int id) const {
    auto it = built.byId.find(id);
    return it == built.byId.end() ? nullptr : it->second;
}

QAction* VarnelDlg::action(int commandId) const {
    auto it = actions.find(commandId);
    return it == actions.end() ? nullptr : it->second;
}

void VarnelDlg::buildMenus() {
    QMenu* menu = nullptr;
    for (const MenuEntry& entry : menuTable()) {
        if (entry.menu) {
            menu = menus->addMenu(uiText(entry.menu));
        }
        if (!entry.text) {
            menu->addSeparator();
            continue;
        }
        QAction* item = menu->addAction(uiText(entry.text));
        item->setProperty("commandId", entry.commandId);
        if (entry.shortcut) {
            item->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        }
        actions[entry.commandId] = item;
    }

    const std::map<int, void (VarnelDlg::*)()> routes{
        {command::initialize, &VarnelDlg::OnFileInitialize},
        {command::open, &VarnelDlg::OnFileOpen},
        {command::save, &VarnelDlg::OnFileSave},
        {command::saveAs, &VarnelDlg::OnFileSaveAs},
        {command::exit, &VarnelDlg::accept},
        {command::read, &VarnelDlg::OnReadFromUnit},
        {command::write, &VarnelDlg::OnWriteToUnit},
        {command::about, &VarnelDlg::OnAbout},
    };
    for (const auto& [id, handler] : routes) {
        connect(actions.at(id), &QAction::triggered, this, whenIdle(handler));
    }
}

void VarnelDlg::wireControls() {
    // Buttons whose click runs one handler.
    const std::map<Handler, void (VarnelDlg::*)()> clicks{
        {Handler::ModeChanged, &VarnelDlg::OnModeChanged},
        {Handler::LimitInput, &VarnelDlg::OnLimitInput},
        {Handler::LimitSet, &VarnelDlg::OnLimitSet},
        {Handler::ReadFromUnit, &VarnelDlg::OnReadFromUnit},
        {Handler::WriteToUnit, &VarnelDlg::OnWriteToUnit},
    };
    const auto table = controlTable();
    for (std::size_t row = 0; row < table.size(); ++row) {
        QWidget* widget = built.widgets[row];
        const Handler handler = table[row].handler;
        if (auto click = clicks.find(handler); click != clicks.end()) {
            connect(qobject_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                    whenIdle(click->second));
        } else if (handler == Handler::ControlResponse) {
            auto* button = qobject_cast<QAbstractButton*>(widget);
            const int code = button->group()->id(button);
            connect(button, &QAbstractButton::clicked, this,
                    whenIdle([this, code] { OnControlResponse(code); }));
        } else if (handler == Handler::ChannelChanged) {
            // activated, unlike currentIndexChanged, comes only from the user.
            connect(qobject_cast<QComboBox*>(widget), &QComboBox::activated, this,
                    whenIdle(&VarnelDlg::OnChannelChanged));
        } else if (handler == Handler::SliderScroll) {
            // valueChanged fires once per change, whatever moved the slider; positions
            // the program sets are told apart by the guard.
            auto* slider = qobject_cast<QSlider*>(widget);
            connect(slider, &QSlider::valueChanged, this, [this, slider] {
                if (placingSliders) {
                    return;
                }
                if (commandRunning) {
                    // Moved by something that bypasses input events (a screen reader):
                    // back to where the dialog had it.
                    placeSlider(slider, acceptedPositions[slider]);
                    return;
                }
                acceptedPositions[slider] = slider->value();
                OnSliderScroll(slider);
            });
        }
    }
}

void VarnelDlg::initialize() {
    if (initialized) {
        return;
    }
    initialized = true;
    Show();
    setUpSliders();
    setWriteControls(session.unitRead());
    Show();
    connectPort();
    EnableLimitControls(false);
    RefreshLimitLabels();
    control(ctl::firstChannel)->setFocus(Qt::OtherFocusReason);
}

int VarnelDlg::exec() {
    initialize();
    if (hasEnded) {
        return result();
    }
    return QDialog::exec();
}

void VarnelDlg::showEvent(QShowEvent* event) {
    initialize();
    QDialog::showEvent(event);
}

void VarnelDlg::setUpSliders() {
    placingSliders = true;
    for (const SliderSetup& setup : sliderTable) {
        auto* slider = controlAs<QSlider>(setup.id);
        slider->setRange(setup.minimum, setup.maximum);
        // A click in the groove or Page Up/Down moves a fifth of the range, an arrow key
        // one step, as the desktop's track bars do by default.
        slider->setPageStep((setup.maximum - setup.minimum) / 5);
        slider->setSingleStep(1);
        if (setup.field == SliderField::Servo) {
            slider->setValue(servoSliderCentre);
        }
        acceptedPositions[slider] = slider->value();
        slider->setTickInterval(setup.tickSpacing);
    }
    placingSliders = false;
}

void VarnelDlg::placeSlider(QSlider* slider, int position) {
    placingSliders = true;
    slider->setValue(position);
    acceptedPositions[slider] = slider->value();
    placingSliders = false;
}

void VarnelDlg::connectPort() {
    Connection connection = connectAdapter(services.port);
    if (connection.message != noMessage) {
        activePrompter->message(
            uiMessage(connection.message, QString::fromStdString(connection.device)),
            Prompter::Icon::Error, Prompter::Buttons::Ok);
        reject();
        return;
    }
    port = std::move(connection.port);
    session.usePort(*port);
    chooseAdapter(port.get());
    portName = QString::fromStdString(portLabel(connection));
}

void VarnelDlg::setWriteControls(bool enabled) {
    control(ctl::writeButton)->setEnabled(enabled);
    control(ctl::inputButton)->setEnabled(enabled);
    action(command::write)->setEnabled(enabled);
}

void VarnelDlg::SetWriteEnabled(bool enabled) {
    setWriteControls(enabled);
    Show();
}

void VarnelDlg::EnableLimitControls(bool enabled) {
    control(ctl::servoSlider)->setEnabled(enabled);
    control(ctl::setButton)->setEnabled(enabled);
}

void VarnelDlg::RefreshLimitLabels() {
    dialogValues.limitLabel1 = uiMessage(msg::limitLabelUp).toStdString();
    dialogValues.limitLabel2 = uiMessage(msg::limitLabelDown).toStdString();
    Show();
}

void VarnelDlg::accept() {
    if (!ConfirmClose()) {
        return;
    }
    if (Save()) {
        QDialog::accept();
    }
}

void VarnelDlg::reject() {
    if (!ConfirmClose()) {
        return;
    }
    QDialog::reject();
}

void VarnelDlg::done(int result) {
    hasEnded = true;
    QDialog::done(result);
}

void VarnelDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A focused push button takes Enter itself; anything else means OK, the Input
        // button too, which only looks like a push button.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button && !button->isCheckable()) {
            button->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

std::function<void()> VarnelDlg::whenIdle(std::function<void()> handler) {
    return [this, handler = std::move(handler)] {
        if (commandRunning) {
            // A click, a choice or a screen reader's action arriving while a command
            // runs starts nothing; the control goes back to what the values say.
            Show();
            return;
        }
        handler();
    };
}

std::function<void()> VarnelDlg::whenIdle(void (VarnelDlg::*handler)()) {
    return whenIdle(std::function<void()>([this, handler] { (this->*handler)(); }));
}

void VarnelDlg::OnAbout() {
    CAboutDlg about(this, portName);
    about.exec();
}
