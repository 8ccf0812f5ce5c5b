#include "dialog_builder.h"

#include "accessibility.h"
#include "language.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>

namespace {

// A combo box's height when closed; the template's height is that of the dropped list.
constexpr int comboClosedHeight = 12;
// Space a group box frame keeps free beside its title.
constexpr int groupTitleMargin = 8;
constexpr int pushButtonMargin = 4;
// The narrowest a font is squeezed before the text is allowed to clip.
constexpr int minimumStretch = 55;

// A radio button that behaves as the layout expects: exclusive only within its own
// group (all buttons share one parent), a click always checks it, and the arrow keys
// move to the neighbouring button of the group and check it.
class GroupRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }

    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
        const bool backward = key == Qt::Key_Up || key == Qt::Key_Left;
        if (!group() || (!forward && !backward)) {
            QRadioButton::keyPressEvent(event);
            return;
        }
        const QList<QAbstractButton*> buttons = group()->buttons();
        const qsizetype count = buttons.size();
        const qsizetype here = buttons.indexOf(this);
        QAbstractButton* next = buttons[(here + (forward ? 1 : count - 1)) % count];
        next->setFocus(Qt::TabFocusReason);
        next->click();
    }
};

QString withoutMnemonic(const char* text) {
    QString plain = uiText(text);
    plain.remove(QLatin1Char('&'));
    return plain;
}

QWidget* createControl(const ControlRow& layoutRow, QWidget* parent) {
    const QString text = layoutRow.text ? uiText(layoutRow.text) : QString();
    const Qt::Alignment horizontal =
        (layoutRow.styles & style::right) ? Qt::AlignRight : Qt::AlignLeft;
    switch (layoutRow.kind) {
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::RowLabel:
    case ControlKind::UnitLabel:
    case ControlKind::Label: {
        auto* label = new QLabel(text, parent);
        label->setAlignment(horizontal | Qt::AlignTop);
        return label;
    }
    case ControlKind::Picture: {
        auto* picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return picture;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(true);
        edit->setAlignment(horizontal | Qt::AlignVCenter);
        edit->setFrame(!(layoutRow.styles & style::noBorder));
        return edit;
    }
    case ControlKind::Combo: {
        auto* combo = new QComboBox(parent);
        for (const char* item : channelItems()) {
            combo->addItem(QString::fromUtf8(item));
        }
        for (int row = 0; row < combo->count(); ++row) {
            combo->setItemData(row, QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter),
                               Qt::TextAlignmentRole);
        }
        combo->setMaxVisibleItems(8);
        return combo;
    }
    case ControlKind::Radio:
        return new GroupRadioButton(text, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::CheckButton: {
        auto* button = new QPushButton(text, parent);
        button->setCheckable(true);
        // Not a push button for Enter: Enter means OK here, never "drive the servo".
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::PushButton: {
        // No button of the dialog is its default: Enter on a focused push button clicks
        // that one, and anywhere else means OK (the dialog's key handling).
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setTickPosition(QSlider::TicksAbove);
        return slider;
    }
    }
    return nullptr;
}

// The narrow channel combo boxes must still show their widest item ("DG1") whole.
void fitComboItems(QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.frame = combo->hasFrame();
    option.subControls = QStyle::SC_All;
    const int field =
        combo->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
            .width();
    QString widest;
    for (int row = 0; row < combo->count(); ++row) {
        if (neededTextWidth(combo, combo->itemText(row)) > neededTextWidth(combo, widest)) {
            widest = combo->itemText(row);
        }
    }
    fitText(combo, widest, field);
}

Qt::FocusPolicy focusPolicyOf(const ControlRow& layoutRow) {
    if (layoutRow.styles & style::tabStop) {
        return Qt::StrongFocus;
    }
    switch (layoutRow.kind) {
    case ControlKind::Edit:
    case ControlKind::Radio:
        return Qt::ClickFocus; // reachable by mouse (and radios by arrow keys), not by Tab
    default:
        return Qt::NoFocus;
    }
}

QRect placement(const ControlRow& layoutRow, const DialogUnits& units) {
    DialogRect rect = layoutRow.rect;
    if (layoutRow.kind == ControlKind::Combo) {
        rect.height = comboClosedHeight;
    }
    return units.toPixels(rect);
}

} // namespace

int neededTextWidth(QWidget* widget, const QString& text) {
    // Rounded up: a fraction of a pixel more than the control has clips the last glyph.
    const auto advance =
        static_cast<int>(std::ceil(QFontMetricsF(widget->font()).horizontalAdvance(text)));
    if (widget->inherits("QGroupBox")) {
        return advance + 2 * groupTitleMargin;
    }
    if (widget->inherits("QPushButton")) {
        return advance + 2 * pushButtonMargin;
    }
    if (widget->inherits("QAbstractButton")) {
        return widget->sizeHint().width(); // the indicator, its spacing and the text
    }
    return advance;
}

void fitText(QWidget* widget, const QString& text, int availableWidth) {
    const int needed = neededTextWidth(widget, text);
    if (needed <= availableWidth) {
        return;
    }
    // Start from the proportional guess and step down, since glyph widths round.
    QFont narrow = widget->font();
    for (int stretch = availableWidth * 100 / needed; stretch >= minimumStretch; --stretch) {
        narrow.setStretch(stretch);
        widget->setFont(narrow);
        if (neededTextWidth(widget, text) <= availableWidth) {
            break;
        }
    }
}

BuiltControls buildControls(std::span<const ControlRow> table, QWidget* parent,
                            const DialogUnits& units) {
    BuiltControls built;
    QButtonGroup* currentGroup = nullptr;

    for (const ControlRow& layoutRow : table) {
        QWidget* widget = createControl(layoutRow, parent);
        widget->setGeometry(placement(layoutRow, units));
        widget->setFocusPolicy(focusPolicyOf(layoutRow));
        widget->setVisible(!(layoutRow.styles & style::hidden));
        if (layoutRow.id != staticId) {
            widget->setObjectName(QStringLiteral("id%1").arg(layoutRow.id));
            widget->setProperty("controlId", layoutRow.id);
            built.byId[layoutRow.id] = widget;
        }
        if (layoutRow.accessibleName) {
            widget->setAccessibleName(uiText(layoutRow.accessibleName));
        }
        if (layoutRow.text && layoutRow.kind != ControlKind::Edit) {
            fitText(widget, withoutMnemonic(layoutRow.text), widget->width());
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            fitComboItems(combo);
        }

        // The table says where each radio button sits; a group's buttons form one
        // button group.
        if (const std::optional<RadioPlace> place = radioPlace(layoutRow.id)) {
            if (place->position == 0) {
                currentGroup = new QButtonGroup(parent);
                // Exclusivity is kept by hand, so that "nothing checked" stays possible.
                currentGroup->setExclusive(false);
                built.radioGroups[place->groupId] = currentGroup;
                QObject::connect(currentGroup, &QButtonGroup::buttonToggled, currentGroup,
                                 [group = currentGroup](QAbstractButton* button, bool on) {
                                     if (!on) {
                                         return;
                                     }
                                     for (QAbstractButton* other : group->buttons()) {
                                         if (other != button) {
                                             other->setChecked(false);
                                         }
                                     }
                                 });
            }
            auto* radio = static_cast<QRadioButton*>(widget);
            radio->setAutoExclusive(false);
            currentGroup->addButton(radio, place->position);
        }
        built.widgets.push_back(widget);
    }

    // Group boxes only frame; kept at the bottom so they never take a click meant for a
    // control drawn inside them.
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].kind == ControlKind::GroupBox) {
            built.widgets[row]->lower();
        }
    }

    // A radio button belongs to the innermost group box that frames it.
    for (std::size_t row = 0; row < table.size(); ++row) {
        if (table[row].kind != ControlKind::Radio) {
            continue;
        }
        QWidget* innermost = nullptr;
        for (std::size_t box = 0; box < table.size(); ++box) {
            QWidget* frame = built.widgets[box];
            if (table[box].kind == ControlKind::GroupBox &&
                frame->geometry().contains(built.widgets[row]->geometry()) &&
                (!innermost || innermost->geometry().contains(frame->geometry()))) {
                innermost = frame;
            }
        }
        if (innermost) {
            setAccessibleGroup(built.widgets[row], innermost);
        }
    }

    // Labels and group boxes lend their text to the controls they name.
    for (std::size_t row = 0; row < table.size(); ++row) {
        const ControlRow& layoutRow = table[row];
        for (int named : layoutRow.names) {
            auto it = built.byId.find(named);
            if (named == 0 || it == built.byId.end()) {
                continue;
            }
            it->second->setAccessibleName(withoutMnemonic(layoutRow.text));
            if (auto* label = qobject_cast<QLabel*>(built.widgets[row]); label && !label->buddy()) {
                label->setBuddy(it->second);
            }
        }
    }
    return built;
}
