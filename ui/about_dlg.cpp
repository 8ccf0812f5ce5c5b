#include "about_dlg.h"

#include "dialog_builder.h"
#include "language.h"

#include "resources/artwork.h"
#include "varnel_config.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int iconId = 100;
constexpr int okId = 1;
constexpr std::size_t noticeRow = 2;

constexpr std::array aboutTable{
    ControlRow{iconId,
               ControlKind::Picture,
               nullptr,
               {11, 17, 20, 20},
               style::none,
               {},
               Handler::None,
               {},
               "Varnel"},
    ControlRow{staticId,
               ControlKind::Label,
               "Varnel Version " VARNEL_VERSION,
               {40, 10, 119, 8},
               style::none,
               {},
               Handler::None,
               {},
               nullptr},
    ControlRow{staticId,
               ControlKind::Label,
               "Kelvo governor settings",
               {40, 25, 119, 8},
               style::none,
               {},
               Handler::None,
               {},
               nullptr},
    ControlRow{okId,
               ControlKind::PushButton,
               "OK",
               {178, 7, 50, 16},
               style::tabStop,
               {},
               Handler::None,
               {},
               nullptr},
};

constexpr DialogRect aboutSize{0, 0, 235, 55};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent, const QString& portName) : QDialog(parent) {
    setWindowTitle(uiText("Version information Varnel"));
    setFont(dialogFont(9));
    const DialogUnits units = DialogUnits::fromFont(layoutFont(9));
    setFixedSize(units.toPixels(aboutSize).size());

    const BuiltControls built = buildControls(aboutTable, this, units);
    auto* icon = qobject_cast<QLabel*>(built.byId.at(iconId));
    icon->setPixmap(programIcon().pixmap(32, 32));
    if (!portName.isEmpty()) {
        qobject_cast<QLabel*>(built.widgets[noticeRow])->setText(portName);
    }
    auto* ok = qobject_cast<QPushButton*>(built.byId.at(okId));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
