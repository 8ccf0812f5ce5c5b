#include "accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

constexpr const char* groupProperty = "accessibleGroup";

QWidget* accessibleGroupOf(const QObject* object) {
    return qobject_cast<QWidget*>(object->property(groupProperty).value<QObject*>());
}

QString withoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

bool isDialogControl(const QObject* object) {
    return object->property("controlId").isValid();
}

// The accessible children of a widget: its visible child widgets, except radio buttons,
// which belong to their group box.
QList<QWidget*> ownChildren(const QWidget* widget) {
    QList<QWidget*> children;
    for (QObject* child : widget->children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (childWidget && !childWidget->isWindow() && !childWidget->isHidden() &&
            !accessibleGroupOf(childWidget)) {
            children.append(childWidget);
        }
    }
    return children;
}

QList<QWidget*> membersOf(const QWidget* groupBox) {
    QList<QWidget*> members;
    for (QObject* sibling : groupBox->parentWidget()->children()) {
        if (accessibleGroupOf(sibling) == groupBox) {
            members.append(static_cast<QWidget*>(sibling));
        }
    }
    return members;
}

// An accessible widget whose children are given by a list.
class ListedChildren : public QAccessibleWidget {
public:
    ListedChildren(QWidget* widget, QAccessible::Role role,
                   QList<QWidget*> (*children)(const QWidget*))
        : QAccessibleWidget(widget, role), children(children) {}

    int childCount() const override { return int(children(widget()).size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> list = children(widget());
        return index >= 0 && index < list.size()
                   ? QAccessible::queryAccessibleInterface(list[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? int(children(widget()).indexOf(qobject_cast<QWidget*>(child->object())))
                     : -1;
    }

private:
    QList<QWidget*> (*children)(const QWidget*);
};

class GroupBoxAccessible : public ListedChildren {
public:
    explicit GroupBoxAccessible(QGroupBox* box)
        : ListedChildren(box, QAccessible::Grouping, membersOf) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return withoutMnemonic(static_cast<QGroupBox*>(widget())->title());
        }
        return ListedChildren::text(kind);
    }
};

class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, roleOf(button)) {}

    QAccessibleInterface* parent() const override {
        if (QWidget* group = accessibleGroupOf(widget())) {
            return QAccessible::queryAccessibleInterface(group);
        }
        return QAccessibleWidget::parent();
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return withoutMnemonic(button()->text());
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        // A two-state push button shows its state as staying pressed, as a toggle
        // button does.
        state.pressed = button()->isDown() || (isToggleButton(button()) && button()->isChecked());
        return state;
    }

    // The press or toggle first, then the focus, which the bridge's GrabFocus asks for.
    QStringList actionNames() const override {
        return QStringList{button()->isCheckable() ? toggleAction() : pressAction()} +
               QAccessibleWidget::actionNames();
    }

    // The action is the click itself, so the dialog runs the same handler, with the same
    // messages, as for the mouse.
    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction()) {
            if (button()->isEnabled()) {
                button()->click();
            }
            return;
        }
        QAccessibleWidget::doAction(name);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    static bool isToggleButton(const QAbstractButton* button) {
        return button->isCheckable() && qobject_cast<const QPushButton*>(button);
    }
    // Qt's screen reader bridge has no toggle button role: a push button that is
    // checkable, checked and pressed is the nearest it carries.
    static QAccessible::Role roleOf(const QAbstractButton* button) {
        if (qobject_cast<const QRadioButton*>(button)) {
            return QAccessible::RadioButton;
        }
        if (isToggleButton(button)) {
            return QAccessible::Button;
        }
        return button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

// Qt's own combo box interface offers only opening its list, so a screen reader could
// not move the focus to it (AT-SPI's GrabFocus asks for the focus action). This one
// describes the box as that one does and adds the focus.
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return box()->currentText();
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = box()->view()->isVisible();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction()) {
            if (box()->isEnabled()) {
                box()->showPopup();
            }
            return;
        }
        QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* dialogAccessibility(QWidget* widget) {
    if (auto* box = qobject_cast<QComboBox*>(widget); box && isDialogControl(box)) {
        return new ComboBoxAccessible(box);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && isDialogControl(button)) {
        return new ButtonAccessible(button);
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget); box && !membersOf(box).isEmpty()) {
        return new GroupBoxAccessible(box);
    }
    const QList<QWidget*> children = widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    const bool holdsGroupedRadios = std::any_of(children.begin(), children.end(),
                                                [](QWidget* w) { return accessibleGroupOf(w); });
    if (holdsGroupedRadios) {
        return new ListedChildren(widget, QAccessible::Client, ownChildren);
    }
    return nullptr;
}

} // namespace

void describeForScreenReaders(QWidget* area) {
    QList<QWidget*> widgets = area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    widgets.prepend(area);
    for (QWidget* widget : widgets) {
        // A registered interface is found before any factory is asked, and the stock
        // factory, which comes first, would describe these buttons and boxes otherwise.
        if (QAccessibleInterface* own = dialogAccessibility(widget)) {
            QAccessible::registerAccessibleInterface(own);
        }
    }
}

void setAccessibleGroup(QWidget* radio, QWidget* groupBox) {
    radio->setProperty(groupProperty, QVariant::fromValue(static_cast<QObject*>(groupBox)));
}
