// Start-up, the failed connects, the closing paths and the version box.

#include "dialog_harness.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    void startsShowingZeroValues() {
        DialogHarness dialog;
        QVERIFY(dialog.prompter.boxes.isEmpty());
        QVERIFY(!dialog->ended());
        QCOMPARE(dialog.at<QLineEdit>(1018)->text(), QStringLiteral("0"));
        QCOMPARE(dialog.at<QLineEdit>(1027)->text(), QStringLiteral("0.00"));
        QCOMPARE(dialog.at<QLineEdit>(1053)->text(), QStringLiteral("上"));
        QCOMPARE(dialog.at<QLineEdit>(1055)->text(), QStringLiteral("下"));
        QCOMPARE(dialog.at<QLineEdit>(1061)->text(), QString());
        QCOMPARE(dialog.at<QComboBox>(3000)->currentText(), QStringLiteral("1"));
        for (int leader : {1006, 1012, 1007, 1014, 1008, 1010, 3008, 3012, 3014, 3016}) {
            QVERIFY(dialog.at<QAbstractButton>(leader)->isChecked());
        }
        QCOMPARE(dialog.at<QSlider>(1046)->value(), 700);
        QCOMPARE(dialog.at<QSlider>(1046)->tickInterval(), 1000);
        QCOMPARE(dialog.at<QSlider>(1058)->minimum(), 16);
        QCOMPARE(dialog.at<QSlider>(1058)->maximum(), 2032);
        QCOMPARE(dialog.at<QSlider>(1058)->value(), 1024);
        QCOMPARE(dialog->focusWidget(), dialog.at(3000));
        // Setting the sliders up is no user scroll: nothing was collected.
        QCOMPARE(dialog->logic().kelvo().workingImage, dialog->logic().kelvo().receivedImage);
    }

    void failedConnectTellsWhyAndEndsTheDialog_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("message");
        QTest::addColumn<int>("buttons");
        QTest::newRow("no driver library")
            << "/nonexistent/libd2xx.so" << 0 << 118 << int(Prompter::Buttons::Ok);
        QTest::newRow("no adapter, Cancel") << VARNEL_SIM_PATH << int(SIM_FAULT_NO_ADAPTER) << 119
                                            << int(Prompter::Buttons::RetryCancel);
    }

    void failedConnectTellsWhyAndEndsTheDialog() {
        QFETCH(QString, library);
        QFETCH(int, fault);
        QFETCH(int, message);
        QFETCH(int, buttons);
        simSetFault(fault, 0);
        DialogHarness dialog(library.toStdString());
        QCOMPARE(dialog.prompter.texts(), QStringList{::message(message)});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Error);
        QCOMPARE(int(dialog.prompter.boxes.front().buttons), buttons);
        QVERIFY(dialog->ended());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        // The rest of the initialisation still ran, and exec returns at once.
        QCOMPARE(dialog.at<QLineEdit>(1053)->text(), QStringLiteral("上"));
        QCOMPARE(dialog->exec(), int(QDialog::Rejected));
    }

    void closingPaths_data() {
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter on a slider") << 1046 << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("Enter on a combo box")
            << 3000 << int(Qt::Key_Enter) << int(QDialog::Accepted);
        QTest::newRow("Escape") << 1046 << int(Qt::Key_Escape) << int(QDialog::Rejected);
    }

    void closingPaths() {
        QFETCH(int, focus);
        QFETCH(int, key);
        QFETCH(int, result);
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.dialog.get()));
        dialog.at(focus)->setFocus();
        QTest::keyClick(dialog.at(focus), Qt::Key(key));
        QVERIFY(dialog->ended());
        QCOMPARE(dialog->result(), result);
        QVERIFY(!dialog->isVisible());
    }

    void enterOnAPushButtonClicksIt() {
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.dialog.get()));
        QSignalSpy clicks(dialog.at<QAbstractButton>(1059), &QAbstractButton::clicked);
        dialog.at(1059)->setFocus();
        QTest::keyClick(dialog.at(1059), Qt::Key_Return);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!dialog->ended());
    }

    // The Input button only looks like a push button: Enter on it is OK, never the start
    // of the servo procedure. No push button is drawn as the default.
    void enterOnTheInputButtonMeansOk() {
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.dialog.get()));
        dialog.at<QAbstractButton>(1059)->click();
        QVERIFY(dialog.at(1051)->isEnabled());
        for (int id : {1051, 1052, 1059, 1060}) {
            auto* button = dialog.at<QPushButton>(id);
            QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->text()));
        }
        dialog.at(1051)->setFocus();
        QTest::keyClick(dialog.at(1051), Qt::Key_Return);
        QVERIFY(!dialog->logic().limitPointModeOn());
        QCOMPARE(simServoDriveOn(), 0);
        QVERIFY(dialog->ended());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }

    void exitAndTheCloseBoxTakeTheirPaths() {
        DialogHarness exiting;
        exiting->show();
        exiting->action(57665)->trigger();
        QCOMPARE(exiting->result(), int(QDialog::Accepted));
        QVERIFY(exiting->ended());

        DialogHarness closing;
        closing->show();
        QVERIFY(closing->close());
        QCOMPARE(closing->result(), int(QDialog::Rejected));
        QVERIFY(closing->ended());
    }

    void helpMenuOpensTheVersionBox() {
        DialogHarness dialog;
        QString title;
        QTimer::singleShot(0, [&title] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                box->accept();
            }
        });
        dialog->action(57664)->trigger();
        QCOMPARE(title, QStringLiteral("Version information Varnel"));
    }
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
