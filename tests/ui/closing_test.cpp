// What the dialog asks before it closes, through File > Exit and the close box, and
// when it refuses to close.

#include "dialog_harness.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void readUnit(DialogHarness& dialog) {
    dialog.at<QAbstractButton>(1059)->click();
    QCOMPARE(dialog.prompter.boxes.back().text, message(117));
}

void changeAValue(DialogHarness& dialog) {
    dragSlider(dialog.at<QSlider>(1046), 3210);
}

// Closes the way the user does; true when the dialog went.
bool closeBy(DialogHarness& dialog, const QString& path) {
    if (path == QLatin1String("exit")) {
        dialog->action(57665)->trigger();
    } else {
        dialog->close();
    }
    return dialog->ended() && !dialog->isVisible();
}

int resultOf(const QString& path) {
    return path == QLatin1String("exit") ? QDialog::Accepted : QDialog::Rejected;
}

void addPathColumnRows(const char* name, const std::function<void(QTestData&)>& more) {
    for (const char* path : {"exit", "close box"}) {
        more(QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(name, path))) << path);
    }
}

} // namespace

class ClosingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    void closesWithoutAQuestionWhenNothingIsUnwritten_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("before");
        for (const char* before : {"nothing", "Read", "Read, change, Write"}) {
            addPathColumnRows(before, [&](QTestData& row) { row << before; });
        }
    }

    void closesWithoutAQuestionWhenNothingIsUnwritten() {
        QFETCH(QString, path);
        QFETCH(QString, before);
        DialogHarness dialog;
        dialog->show();
        if (before != QLatin1String("nothing")) {
            readUnit(dialog);
        }
        if (before.endsWith(QLatin1String("Write"))) {
            changeAValue(dialog);
            dialog.at<QAbstractButton>(1060)->click();
            QCOMPARE(dialog.prompter.boxes.back().text, message(105));
        }
        const qsizetype boxes = dialog.prompter.boxes.size();

        QVERIFY(closeBy(dialog, path));
        QCOMPARE(dialog.prompter.boxes.size(), boxes);
        QCOMPARE(dialog->result(), resultOf(path));
    }

    void offersToWriteUnwrittenChanges_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("yes");
        addPathColumnRows("Yes", [](QTestData& row) { row << true; });
        addPathColumnRows("No", [](QTestData& row) { row << false; });
    }

    void offersToWriteUnwrittenChanges() {
        QFETCH(QString, path);
        QFETCH(bool, yes);
        DialogHarness dialog;
        dialog->show();
        readUnit(dialog);
        changeAValue(dialog);
        dialog.prompter.answers.enqueue(yes ? Prompter::Answer::Yes : Prompter::Answer::No);

        QVERIFY(closeBy(dialog, path));

        QStringList expected{message(117), message(133)};
        if (yes) {
            expected.append(message(105));
        }
        QCOMPARE(dialog.prompter.texts(), expected);
        QCOMPARE(dialog.prompter.boxes[1].icon, Prompter::Icon::Question);
        QCOMPARE(dialog.prompter.boxes[1].buttons, Prompter::Buttons::YesNo);
        SettingsImage unit;
        unit.raw() = unitRecord();
        QCOMPARE(unit.targetRpm(0) == 3210, yes);
        QCOMPARE(dialog->result(), resultOf(path));
    }

    void changesWithoutAReadAreReportedDropped() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        SettingsImage file;
        file.raw() = unitRecord();
        file.setTargetRpm(0, 3210);
        QFile settings(folder.filePath(QStringLiteral("a.gvx")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(reinterpret_cast<const char*>(file.raw().data()), qint64(file.raw().size()));
        settings.close();

        DialogHarness dialog;
        dialog->show();
        dialog.prompter.fileNames.enqueue(settings.fileName());
        dialog->action(57601)->trigger();
        QVERIFY(dialog.prompter.boxes.isEmpty());

        QVERIFY(closeBy(dialog, QStringLiteral("close box")));
        QCOMPARE(dialog.prompter.texts(), QStringList{message(134)});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Warning);
        QCOMPARE(dialog.prompter.boxes.front().buttons, Prompter::Buttons::Ok);
    }

    // Yes means the user wants the changes on the unit; a Write that did not get them
    // there must not let them go.
    void failedWriteAtClosingKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("fault");
        QTest::newRow("exit, unit stores differently")
            << "exit" << int(SIM_FAULT_STORE_DIFFERENTLY);
        QTest::newRow("close box, unit silent") << "close box" << int(SIM_FAULT_NO_REPLY);
    }

    void failedWriteAtClosingKeepsTheDialogOpen() {
        QFETCH(QString, path);
        QFETCH(int, fault);
        DialogHarness dialog;
        dialog->show();
        readUnit(dialog);
        changeAValue(dialog);
        simSetFault(fault, 40);
        dialog.prompter.answers.enqueue(Prompter::Answer::Yes);

        QVERIFY(!closeBy(dialog, path));
        QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(133), message(104)}));
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog.at<QLineEdit>(1018)->text(), QStringLiteral("3210"));

        // Once the unit takes the changes, the dialog goes.
        simSetFault(SIM_FAULT_NONE, 0);
        dialog.prompter.answers.enqueue(Prompter::Answer::Yes);
        QVERIFY(closeBy(dialog, path));
        QCOMPARE(dialog.prompter.texts().mid(3), (QStringList{message(133), message(105)}));
        QCOMPARE(dialog->result(), resultOf(path));
    }

    void closingEndsARunningProcedureFirst_data() {
        QTest::addColumn<bool>("pointsSet");
        QTest::newRow("waiting for point 1") << false;
        QTest::newRow("both points set") << true;
    }

    void closingEndsARunningProcedureFirst() {
        QFETCH(bool, pointsSet);
        DialogHarness dialog;
        dialog->show();
        readUnit(dialog);
        QTest::mouseClick(dialog.at(1051), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(simServoFrameCount() > 0, 500);
        if (pointsSet) {
            dragSlider(dialog.at<QSlider>(1058), 1400);
            QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
            dragSlider(dialog.at<QSlider>(1058), 600);
            QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
            QCOMPARE(dialog.at<QLineEdit>(1061)->text(), message(123));
        }

        QVERIFY(closeBy(dialog, QStringLiteral("close box")));

        QVERIFY(!dialog->logic().limitPointModeOn());
        const std::size_t frames = simServoFrameCount();
        QTest::qWait(120);
        QCOMPARE(simServoFrameCount(), frames);
        QStringList expected{message(117)};
        if (pointsSet) {
            expected.append(message(133));
        } else {
            QCOMPARE(simServoDriveOn(), 0);
        }
        QCOMPARE(dialog.prompter.texts(), expected);
    }
};

QTEST_MAIN(ClosingTest)
#include "closing_test.moc"
