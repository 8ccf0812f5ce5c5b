#include "varnel_dlg.h"

#include "about_dlg.h"
#include "qt_prompter.h"

#include "commands/connect.h"
#include "commands/outcome.h"
#include "device/servo_frame.h"
#include "device/zabro.h"
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

namespace {

Zabro* adapterOf(const DialogServices& services) {
    return services.adapter ? services.adapter : &theAdapter;
}

} // namespace

VarnelDlg::VarnelDlg(DialogServices givenServices, QWidget* parent)
    : QDialog(parent), services(std::move(givenServices)),
      ownPrompter(services.prompter ? nullptr : std::make_unique<QtPrompter>(this)),
      activePrompter(services.prompter ? services.prompter : ownPrompter.get()),
      unit(adapterOf(services), services.sleep),
      procedure(unit, services.sleep,
                [port = adapterOf(services)] { sendServoFrameThrough(*port); }) {
    setWindowTitle(QStringLiteral("Varnel " VARNEL_VERSION));
    setWindowIcon(programIcon());
    setFont(dialogFont());
    units = DialogUnits::fromFont(font());

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
    controlAs<QLabel>(ctl::logo)->setPixmap(logoBitmap());
    wireControls();

    // A servo frame that cannot be sent ends the limit point procedure; the timer
    // thread only counts it, and the dialog looks.
    servoFrameWatch = new QTimer(this);
    servoFrameWatch->setInterval(LimitPointProcedure::framePeriod * 2);
    connect(servoFrameWatch, &QTimer::timeout, this, &VarnelDlg::checkServoFrames);
}

VarnelDlg::~VarnelDlg() = default;

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
            menu = menus->addMenu(QString::fromUtf8(entry.menu));
        }
        if (!entry.text) {
            menu->addSeparator();
            continue;
        }
        QAction* item = menu->addAction(QString::fromUtf8(entry.text));
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
        connect(actions.at(id), &QAction::triggered, this, handler);
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
                    click->second);
        } else if (handler == Handler::ControlResponse) {
            auto* button = qobject_cast<QAbstractButton*>(widget);
            const int code = button->group()->id(button);
            connect(button, &QAbstractButton::clicked, this,
                    [this, code] { OnControlResponse(code); });
        } else if (handler == Handler::ChannelChanged) {
            // activated, unlike currentIndexChanged, comes only from the user.
            connect(qobject_cast<QComboBox*>(widget), &QComboBox::activated, this,
                    &VarnelDlg::OnChannelChanged);
        } else if (handler == Handler::SliderScroll) {
            // valueChanged fires once per change, whatever moved the slider; positions
            // the program sets are told apart by the guard.
            auto* slider = qobject_cast<QSlider*>(widget);
            connect(slider, &QSlider::valueChanged, this, [this, slider] {
                if (!placingSliders) {
                    OnSliderScroll(slider);
                }
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
    setWriteControls(hasReadUnit);
    Show();
    ConnectAdapter();
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
        if (setup.field == SliderField::Servo) {
            slider->setValue(servoSliderCentre);
        }
        slider->setTickInterval(setup.tickSpacing);
    }
    placingSliders = false;
}

void VarnelDlg::placeSlider(QSlider* slider, int position) {
    placingSliders = true;
    slider->setValue(position);
    placingSliders = false;
}

void VarnelDlg::ConnectAdapter() {
    const char* library = services.driverLibrary.empty() ? DriverTable::defaultLibraryName()
                                                         : services.driverLibrary.c_str();
    const int message = connectAdapter(*adapterOf(services), library);
    if (message != noMessage) {
        showMessage(*activePrompter, message, Prompter::Icon::Error);
        reject();
    }
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
    dialogValues.limitLabel1 = QString::fromUtf8(messageText(msg::limitLabelUp));
    dialogValues.limitLabel2 = QString::fromUtf8(messageText(msg::limitLabelDown));
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
        // A focused push button takes Enter itself; anything else means OK.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void VarnelDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}
