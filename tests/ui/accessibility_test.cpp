// The dialog as a screen reader meets it: every control's role, name, state and
// action, walked through the accessibility interface.

#include "dialog_harness.h"

#include "dialog/control_table.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPushButton>
#include <QTest>
#include <set>

namespace {

QAccessibleInterface* accessible(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

void readUnit(DialogHarness& dialog) {
    dialog.at<QAbstractButton>(1059)->click();
    dialog.prompter.boxes.clear();
}

// What a command left behind, for comparing a click with an accessible action.
struct Outcome {
    QStringList messages;
    SettingsImage image;
    QStringList shown;
    bool operator==(const Outcome&) const = default;
};

Outcome outcomeOf(DialogHarness& dialog) {
    return {dialog.prompter.texts(), dialog->logic().kelvo().workingImage, shownValues(*dialog)};
}

QAccessible::Role expectedRole(ControlKind kind) {
    switch (kind) {
    case ControlKind::Radio:
        return QAccessible::RadioButton;
    case ControlKind::CheckBox:
        return QAccessible::CheckBox;
    // The Input button: a push button that stays pressed, the nearest Qt's bridge has
    // to a toggle button.
    case ControlKind::CheckButton:
    case ControlKind::PushButton:
        return QAccessible::Button;
    case ControlKind::Slider:
        return QAccessible::Slider;
    case ControlKind::Combo:
        return QAccessible::ComboBox;
    case ControlKind::Edit:
        return QAccessible::EditableText;
    default:
        return QAccessible::NoRole;
    }
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    // Radio buttons are announced as radio buttons, named by their text, in the group
    // the box around them names.
    void radioButtonsBelongToTheirGroupBox() {
        DialogHarness dialog;
        struct Radio {
            int id;
            const char* name;
            const char* group;
        };
        for (const Radio& radio :
             {Radio{1006, "有効", "ガバナー動作"}, Radio{1005, "無効", "ガバナー動作"},
              Radio{1014, "Moderate", "制御レスポンス"},
              Radio{3008, "Optimize", "スロットルデータモード"}}) {
            QAccessibleInterface* button = accessible(dialog.at(radio.id));
            QCOMPARE(button->role(), QAccessible::RadioButton);
            QCOMPARE(button->text(QAccessible::Name), QString::fromUtf8(radio.name));
            QAccessibleInterface* group = button->parent();
            QCOMPARE(group->role(), QAccessible::Grouping);
            QCOMPARE(group->text(QAccessible::Name), QString::fromUtf8(radio.group));
            QVERIFY(group->indexOfChild(button) >= 0);
            QCOMPARE(group->child(group->indexOfChild(button)), button);
        }
    }

    // Every control of the table: its role, a name, its state, and a tree a screen
    // reader can walk down to it.
    void everyControlHasRoleNameAndState() {
        DialogHarness dialog;
        readUnit(dialog);
        QAccessibleInterface* root = accessible(dialog->clientArea());
        for (const ControlRow& row : controlTable()) {
            const QAccessible::Role role = expectedRole(row.kind);
            QWidget* widget = row.id == staticId ? nullptr : dialog.at(row.id);
            if (role == QAccessible::NoRole || !widget || widget->isHidden()) {
                continue;
            }
            QAccessibleInterface* control = accessible(widget);
            const QString what = widget->objectName();
            QCOMPARE(control->role(), role);
            QVERIFY2(!control->text(QAccessible::Name).isEmpty(), qPrintable(what));
            QCOMPARE(bool(control->state().disabled), !widget->isEnabled());
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                QCOMPARE(bool(control->state().checked), button->isChecked());
                QCOMPARE(bool(control->state().checkable), button->isCheckable());
                if (row.kind == ControlKind::CheckButton) {
                    QCOMPARE(bool(control->state().pressed), button->isChecked());
                }
                QVERIFY2(!control->actionInterface()->actionNames().isEmpty(), qPrintable(what));
            }
            QAccessibleInterface* up = control;
            while (up && up != root) {
                QAccessibleInterface* parent = up->parent();
                QVERIFY2(parent && parent->indexOfChild(up) >= 0, qPrintable(what));
                up = parent;
            }
        }
    }

    // A screen reader moves the focus through the action interface (AT-SPI's GrabFocus):
    // every control that takes the keyboard focus offers it, and it lands there.
    void everyControlTakesTheFocusThroughItsInterface() {
        DialogHarness dialog;
        readUnit(dialog);
        dialog.at<QAbstractButton>(1051)->click(); // the Input button down
        std::set<ControlKind> kindsSeen;
        for (const ControlRow& row : controlTable()) {
            QWidget* widget = row.id == staticId ? nullptr : dialog.at(row.id);
            if (expectedRole(row.kind) == QAccessible::NoRole || !widget || widget->isHidden() ||
                !widget->isEnabled() || widget->focusPolicy() == Qt::NoFocus) {
                continue;
            }
            const QString what = widget->objectName();
            QAccessibleActionInterface* actions = accessible(widget)->actionInterface();
            QVERIFY2(actions, qPrintable(what));
            QVERIFY2(actions->actionNames().contains(QAccessibleActionInterface::setFocusAction()),
                     qPrintable(what));
            const SettingsImage before = dialog->logic().kelvo().workingImage;
            actions->doAction(QAccessibleActionInterface::setFocusAction());
            QVERIFY2(dialog->focusWidget() == widget, qPrintable(what));
            QCOMPARE(dialog->logic().kelvo().workingImage, before); // focus only, no click
            kindsSeen.insert(row.kind);
        }
        QVERIFY(dialog->logic().limitPointModeOn());
        for (ControlKind kind : {ControlKind::Radio, ControlKind::PushButton,
                                 ControlKind::CheckButton, ControlKind::Slider}) {
            QVERIFY2(kindsSeen.count(kind) == 1, "a kind of control was never focused");
        }
        dialog.at<QAbstractButton>(1051)->click();
    }

    // A screen reader's action on a button runs what a click runs, message boxes
    // included: the same dialog, image and messages afterwards.
    void everyButtonsActionDoesWhatAClickDoes() {
        for (const ControlRow& row : controlTable()) {
            if (row.kind != ControlKind::Radio && row.kind != ControlKind::PushButton) {
                continue;
            }
            simReset();
            DialogHarness clicked;
            readUnit(clicked);
            clicked.at<QAbstractButton>(row.id)->click();
            const Outcome byClick = outcomeOf(clicked);

            simReset();
            DialogHarness acted;
            readUnit(acted);
            QAccessibleActionInterface* actions = accessible(acted.at(row.id))->actionInterface();
            actions->doAction(actions->actionNames().front());
            QVERIFY2(outcomeOf(acted) == byClick, qPrintable(acted.at(row.id)->objectName()));
        }
    }

    // The Input button's action starts the procedure and cancels it, as a click does.
    void inputButtonsActionStartsAndCancelsTheProcedure() {
        DialogHarness dialog;
        readUnit(dialog);
        QAccessibleInterface* input = accessible(dialog.at(1051));
        QAccessibleActionInterface* actions = input->actionInterface();
        actions->doAction(actions->actionNames().front());
        QVERIFY(dialog->logic().limitPointModeOn());
        QVERIFY(input->state().checked);
        QCOMPARE(simServoDriveOn(), 1);
        QCOMPARE(dialog.at<QLineEdit>(1061)->text(), message(121));

        actions->doAction(actions->actionNames().front());
        QVERIFY(!dialog->logic().limitPointModeOn());
        QVERIFY(!input->state().checked);
        QCOMPARE(simServoDriveOn(), 0);
        QCOMPARE(dialog.prompter.texts(), QStringList{message(132)});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Warning);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
