// The backup list as the keyboard and a screen reader meet it: the rows grouped by unit,
// the selected row's differences, Open and Cancel, every control on the Tab chain.

#include "dialog_harness.h"

#include "commands/backup_list.h"
#include "dialog/backup_choice.h"
#include "dialog/menu_table.h"
#include "settings/factory_defaults.h"
#include "ui/backup_list_dlg.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <chrono>

using namespace std::chrono_literals;

namespace {

SettingsImage factoryRecord(std::uint16_t unitId) {
    SettingsImage image;
    image.setUnitId(unitId);
    applyFactoryDefaults(image);
    return image;
}

void pressAccessibly(QWidget* widget) {
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(button->actionInterface() != nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

} // namespace

class BackupListTest : public QObject {
    Q_OBJECT

    QTemporaryDir scratch;
    std::chrono::system_clock::time_point now{1735787045678ms};
    SettingsImage shown = factoryRecord(10775);

    BackupChoice choiceOf(const std::filesystem::path& root) {
        return backupChoice(listBackups(BackupStore(root, [](std::string_view) {}), std::nullopt,
                                        shown, [](auto) { return std::string("t"); }),
                            shown);
    }

    std::filesystem::path storeWithTwoUnits() {
        const std::filesystem::path root = scratch.filePath("backups").toStdString();
        BackupStore store(
            root, [](std::string_view) {}, [this] { return now += 1min; });
        SettingsImage changed = factoryRecord(10775);
        changed.setTargetRpm(0, static_cast<std::uint16_t>(shown.targetRpm(0) + 100));
        store.keep(factoryRecord(10775));
        store.keep(changed);
        store.keep(factoryRecord(7));
        return root;
    }

private slots:
    void init() { simReset(); }
    void rowsGroupedWithTheDifferencesOfTheSelectedOne() {
        BackupListDlg dialog(choiceOf(storeWithTwoUnits()));
        QTreeWidget* list = dialog.backupList();
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("ID 7"));
        QTreeWidgetItem* unit = list->topLevelItem(1);
        QCOMPARE(unit->childCount(), 2);
        QCOMPARE(unit->child(0)->text(2), QStringLiteral("1"));
        QCOMPARE(unit->child(1)->text(2), QStringLiteral("0"));

        list->setCurrentItem(unit->child(0));
        QCOMPARE(dialog.differenceList()->topLevelItemCount(), 1);
        const QTreeWidgetItem* difference = dialog.differenceList()->topLevelItem(0);
        QCOMPARE(difference->text(0), QStringLiteral("回転数設定1"));
        QCOMPARE(difference->text(1), QStringLiteral("%1 rpm").arg(shown.targetRpm(0) + 100));
        QCOMPARE(difference->text(2), QStringLiteral("%1 rpm").arg(shown.targetRpm(0)));
        QVERIFY(dialog.openButton()->isEnabled());

        list->setCurrentItem(unit);
        QVERIFY2(!dialog.openButton()->isEnabled(), "a unit's heading is no backup");
        QCOMPARE(dialog.differenceList()->topLevelItemCount(), 0);
    }

    void openTakesTheSelectedRowCancelNone() {
        const std::filesystem::path root = storeWithTwoUnits();
        for (const bool open : {true, false}) {
            BackupListDlg dialog(choiceOf(root));
            dialog.show();
            dialog.backupList()->setCurrentItem(dialog.backupList()->topLevelItem(1)->child(1));
            if (open) {
                pressAccessibly(dialog.openButton());
            } else {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
            // The accessible press clicks the way a click looks: after a moment.
            QTRY_COMPARE(dialog.result(), open ? QDialog::Accepted : QDialog::Rejected);
            QCOMPARE(dialog.chosenRow(), open ? std::optional<std::size_t>(2) : std::nullopt);
        }
    }

    void everyControlOnTheTabChainNamedByItsLabel() {
        BackupListDlg dialog(choiceOf(storeWithTwoUnits()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QStringList names;
        QWidget* start = QApplication::focusWidget();
        QWidget* at = start;
        do {
            names << QAccessible::queryAccessibleInterface(at)->text(QAccessible::Name);
            QTest::keyClick(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
        } while (at != start && names.size() < 10);
        QCOMPARE(names,
                 (QStringList{QStringLiteral("バックアップ"), QStringLiteral("現在の値との違い"),
                              QStringLiteral("開く"), QStringLiteral("キャンセル")}));
    }

    void theFileMenuOpensTheListAndLoadsTheChosenBackup() {
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
        SettingsImage unit;
        unit.raw() = unitRecord();
        unit.setTargetRpm(0, 2345);
        simSetRecord(unit.raw().data());
        DialogHarness dialog;
        dialog.at<QAbstractButton>(ctl::readButton)->click();
        dialog.prompter.boxes.clear();
        auto* rpm = dialog.at<QLineEdit>(1018);
        rpm->setText(QStringLiteral("3000")); // typed, not yet taken

        QStringList differencesSeen;
        dialog.prompter.backupChooser = [&](const BackupChoice& choice) {
            BackupListDlg list(choice);
            list.show();
            list.backupList()->setCurrentItem(list.backupList()->topLevelItem(0)->child(0));
            for (int i = 0; i < list.differenceList()->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* row = list.differenceList()->topLevelItem(i);
                differencesSeen << row->text(0) + ':' + row->text(1) + ':' + row->text(2);
            }
            list.openButton()->click();
            return list.chosenRow();
        };
        dialog->action(command::openBackup)->trigger();

        QCOMPARE(dialog.prompter.backupLists, 1);
        QCOMPARE(differencesSeen, QStringList{QStringLiteral("回転数設定1:2345 rpm:3000 rpm")});
        QCOMPARE(dialog.prompter.texts(), QStringList());
        QCOMPARE(rpm->text(), QStringLiteral("2345"));
        QVERIFY2(!dialog->logic().hasFilePath(), "a backup is never the file Save writes to");
        qputenv("XDG_DATA_HOME", dataHome);
    }

    void noBackupsSaysWhereTheyAreKept() {
        const std::filesystem::path root = scratch.filePath("none").toStdString();
        BackupListDlg dialog(choiceOf(root));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* note = qobject_cast<QLabel*>(QApplication::focusWidget());
        QVERIFY(note != nullptr);
        QVERIFY(note->text().contains(QString::fromStdString(root.string())));
        QVERIFY(!dialog.openButton()->isEnabled());
        QCOMPARE(dialog.backupList()->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(BackupListTest)
#include "backup_list_test.moc"
