#include "varnel_dlg.h"

#include "about_dlg.h"
#include "accessibility.h"
#include "language.h"
#include "qt_prompter.h"

#include "dialog/menu_table.h"
#include "resources/artwork.h"
#include "varnel_config.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

VarnelDlg::VarnelDlg(DialogServices services, Prompter* prompter, QWidget* parent)
    : QDialog(parent), ownPrompter(prompter ? nullptr : std::make_unique<QtPrompter>(this)),
      activePrompter(prompter ? prompter : ownPrompter.get()),
      dialogLogic(*this, std::move(services)) {
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
    ticks = new QTimer(this);
    connect(ticks, &QTimer::timeout, this, [this] { dialogLogic.Tick(); });
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
        const int id = entry.commandId;
        connect(item, &QAction::triggered, this, [this, id] {
            // Exit and About belong to the face; the rest to the logic.
            if (id == command::exit || id == command::about) {
                if (dialogLogic.Admit()) {
                    id == command::exit ? accept() : OnAbout();
                }
                return;
            }
            dialogLogic.OnMenu(id);
        });
    }
}

void VarnelDlg::wireControls() {
    const auto table = controlTable();
    for (std::size_t row = 0; row < table.size(); ++row) {
        QWidget* widget = built.widgets[row];
        const int id = table[row].id;
        const auto toLogic = [this, id] { dialogLogic.OnControl(id); };
        switch (table[row].handler) {
        case Handler::None:
            break;
        case Handler::ChannelChanged:
            // activated, unlike currentIndexChanged, comes only from the user.
            connect(qobject_cast<QComboBox*>(widget), &QComboBox::activated, this, toLogic);
            break;
        case Handler::SliderScroll:
            // valueChanged fires once per change, whatever moved the slider; positions
            // the logic sets are told apart by the guard.
            connect(qobject_cast<QSlider*>(widget), &QSlider::valueChanged, this, [this, toLogic] {
                if (!placingSliders) {
                    toLogic();
                }
            });
            break;
        default:
            connect(qobject_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                    toLogic);
            break;
        }
    }
}

void VarnelDlg::initialize() {
    if (initialized) {
        return;
    }
    initialized = true;
    if (!dialogLogic.Start()) {
        reject();
    }
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

void VarnelDlg::accept() {
    if (dialogLogic.OkClose()) {
        QDialog::accept();
    }
}

void VarnelDlg::reject() {
    if (dialogLogic.CancelClose()) {
        QDialog::reject();
    }
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

void VarnelDlg::OnAbout() {
    CAboutDlg about(this, QString::fromStdString(dialogLogic.portName()));
    about.exec();
}
