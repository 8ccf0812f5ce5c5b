// The dialog exchange: values to controls (Show) and back (Save), over the bound
// controls in the exchange order.

#include "varnel_dlg.h"

#include "language.h"
#include "prompter.h"

#include "settings/scales.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>

#include <stdexcept>

namespace {

const ControlRow& rowOf(int id) {
    for (const ControlRow& layoutRow : controlTable()) {
        if (layoutRow.id == id) {
            return layoutRow;
        }
    }
    throw std::logic_error("control missing from the table");
}

int checkedPosition(const QButtonGroup* group) {
    QAbstractButton* checked = nullptr;
    for (QAbstractButton* button : group->buttons()) {
        if (button->isChecked()) {
            checked = button;
        }
    }
    return checked ? group->id(checked) : -1;
}

void checkPosition(QButtonGroup* group, int position) {
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(group->id(button) == position);
    }
}

} // namespace

void VarnelDlg::Show() {
    for (int id : exchangeOrder()) {
        const Binding& binding = rowOf(id).binding;
        QWidget* widget = control(id);
        switch (binding.kind) {
        case BindKind::None:
            break;
        case BindKind::UnitId:
            qobject_cast<QLineEdit*>(widget)->setText(QString::number(dialogValues.panel.unitId));
            break;
        case BindKind::Integer:
            qobject_cast<QLineEdit*>(widget)->setText(
                QString::number(binding.integer(dialogValues)));
            break;
        case BindKind::GearRatio:
            qobject_cast<QLineEdit*>(widget)->setText(
                QString::fromStdString(formatGearRatio(dialogValues.panel.gearRatio)));
            break;
        case BindKind::Text:
            qobject_cast<QLineEdit*>(widget)->setText(
                QString::fromStdString(binding.text(dialogValues)));
            break;
        case BindKind::Combo: {
            auto* combo = qobject_cast<QComboBox*>(widget);
            const int index = binding.integer(dialogValues);
            // An index the list does not hold shows no selection.
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
            break;
        }
        case BindKind::RadioGroup:
            checkPosition(built.radioGroups.at(id), binding.integer(dialogValues));
            break;
        case BindKind::CheckState:
            qobject_cast<QAbstractButton*>(widget)->setChecked(binding.integer(dialogValues) != 0);
            break;
        }
    }
}

bool VarnelDlg::Save() {
    // The edits are read-only and filled by the program, so a text that does not parse
    // means something is badly wrong; the user is told, as for any form.
    const auto refuse = [this](QWidget* widget, const QString& why) {
        activePrompter->message(why, Prompter::Icon::Warning, Prompter::Buttons::Ok);
        widget->setFocus(Qt::OtherFocusReason);
        return false;
    };

    for (int id : exchangeOrder()) {
        const Binding& binding = rowOf(id).binding;
        QWidget* widget = control(id);
        switch (binding.kind) {
        case BindKind::None:
        case BindKind::GearRatio: // the gear ratio follows its slider, never its text
            break;
        case BindKind::UnitId: {
            bool parsed = false;
            const qulonglong value =
                qobject_cast<QLineEdit*>(widget)->text().trimmed().toULongLong(&parsed);
            if (!parsed) {
                return refuse(widget, uiText("Enter a positive integer."));
            }
            if (value > 65535) {
                return refuse(widget, uiText("Enter an integer between 0 and 65535."));
            }
            dialogValues.panel.unitId = static_cast<std::uint32_t>(value);
            break;
        }
        case BindKind::Integer: {
            bool parsed = false;
            const int value = qobject_cast<QLineEdit*>(widget)->text().trimmed().toInt(&parsed);
            if (!parsed) {
                return refuse(widget, uiText("Enter an integer."));
            }
            binding.integer(dialogValues) = value;
            break;
        }
        case BindKind::Text:
            binding.text(dialogValues) = qobject_cast<QLineEdit*>(widget)->text().toStdString();
            break;
        case BindKind::Combo:
            binding.integer(dialogValues) = qobject_cast<QComboBox*>(widget)->currentIndex();
            break;
        case BindKind::RadioGroup:
            binding.integer(dialogValues) = checkedPosition(built.radioGroups.at(id));
            break;
        case BindKind::CheckState:
            binding.integer(dialogValues) = qobject_cast<QAbstractButton*>(widget)->isChecked();
            break;
        }
    }
    return true;
}
