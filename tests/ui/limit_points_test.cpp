// The servo limit point procedure from the dialog, with the S.BUS frames as the
// simulated unit decoded them. The frames come from a real 50 ms timer.

#include "dialog_harness.h"
#include "timer_without_thread.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <algorithm>
#include <system_error>
#include <thread>

using namespace std::chrono_literals;

namespace {

using Pauses = std::vector<std::chrono::milliseconds>;

void readUnit(DialogHarness& dialog) {
    dialog.at<QAbstractButton>(1059)->click();
    QCOMPARE(dialog.prompter.texts(), QStringList{message(117)});
}

QString guidance(DialogHarness& dialog) {
    return dialog.at<QLineEdit>(1061)->text();
}

// The controls of the limit point mode: Input button, servo slider, Set, guidance.
QString limitModeShown(DialogHarness& dialog) {
    return QStringLiteral("Input %1, slider %2, Set %3, guidance \"%4\"")
        .arg(int(dialog.at<QAbstractButton>(1051)->isChecked()))
        .arg(int(dialog.at(1058)->isEnabled()))
        .arg(int(dialog.at(1052)->isEnabled()))
        .arg(guidance(dialog));
}

bool lastFrameCarries(int position) {
    const auto frames = servoFrames();
    return !frames.empty() && frames.back().channels[2] == position;
}

// The slider drives channel 3 alone; every other channel stays at 0.
bool onlyChannelThreeMoves(const std::vector<SimServoFrame>& frames) {
    return std::all_of(frames.begin(), frames.end(), [](const SimServoFrame& frame) {
        for (int channel = 0; channel < 16; ++channel) {
            if (channel != 2 && frame.channels[channel] != 0) {
                return false;
            }
        }
        return true;
    });
}

bool framesHaveStopped() {
    const std::size_t count = simServoFrameCount();
    QTest::qWait(120);
    return simServoFrameCount() == count;
}

// The procedure has ended without storing anything.
void verifyEnded(DialogHarness& dialog, const SettingsImage& imageBefore) {
    QVERIFY(!dialog.at<QAbstractButton>(1051)->isChecked());
    QVERIFY(!dialog->logic().limitPointModeOn());
    QVERIFY(!dialog.at(1058)->isEnabled());
    QVERIFY(!dialog.at(1052)->isEnabled());
    QCOMPARE(dialog.at<QSlider>(1058)->value(), 1024);
    QCOMPARE(dialog.at<QLineEdit>(1057)->text(), QStringLiteral("0"));
    QCOMPARE(guidance(dialog), QString());
    QCOMPARE(simServoDriveOn(), 0);
    QVERIFY(framesHaveStopped());
    QCOMPARE(dialog->logic().kelvo().workingImage, imageBefore);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void startProcedure(DialogHarness& dialog) {
    QTest::mouseClick(dialog.at(1051), Qt::LeftButton);
    QVERIFY(dialog->logic().limitPointModeOn());
}

} // namespace

class LimitPointsTest : public QObject {
    Q_OBJECT

public slots:
    // Not a test: what the observed dialog shows of the limit point mode, taken on the
    // window's thread when a device step asks.
    void recordModeShown() { shownDuringCommand = limitModeShown(*observed); }

private:
    DialogHarness* observed = nullptr;
    QString shownDuringCommand;

private slots:
    void init() { simReset(); }

    void bothPointsAreStoredHigherFirst_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("high, then low") << 1400 << 600;
        QTest::newRow("low, then high") << 600 << 1400;
    }

    void bothPointsAreStoredHigherFirst() {
        QFETCH(int, first);
        QFETCH(int, second);
        DialogHarness dialog;
        readUnit(dialog);
        auto* slider = dialog.at<QSlider>(1058);

        startProcedure(dialog);
        QVERIFY(dialog.at<QAbstractButton>(1051)->isChecked());
        QVERIFY(slider->isEnabled());
        QVERIFY(dialog.at(1052)->isEnabled());
        QCOMPARE(guidance(dialog), message(121));
        QCOMPARE(simServoDriveOn(), 1);
        QCOMPARE(dialog.pauses, (Pauses{1500ms, 100ms}));
        QTRY_VERIFY_WITH_TIMEOUT(lastFrameCarries(1024), 500);

        dragSlider(slider, first);
        QTRY_VERIFY_WITH_TIMEOUT(lastFrameCarries(first), 500);
        QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
        QCOMPARE(guidance(dialog), message(122));
        QVERIFY(dialog->logic().limitPointModeOn());

        dragSlider(slider, second);
        QTRY_VERIFY_WITH_TIMEOUT(lastFrameCarries(second), 500);
        // The servo goes back to the centre during this pause, before the point is taken.
        dialog.duringPause = [](std::chrono::milliseconds pause) {
            std::this_thread::sleep_for(pause);
        };
        QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
        dialog.duringPause = nullptr;

        QCOMPARE(dialog.prompter.texts(), QStringList{message(117)});
        QCOMPARE(dialog.pauses, (Pauses{1500ms, 100ms, 100ms}));
        const SettingsImage& image = dialog->logic().kelvo().workingImage;
        QCOMPARE(int(image.limitPoint1()), 5616);
        QCOMPARE(int(image.limitPoint2()), 4016);
        QCOMPARE(dialog.at<QLineEdit>(1053)->text(), QStringLiteral("上"));
        QCOMPARE(dialog.at<QLineEdit>(1054)->text(), QStringLiteral("56"));
        QCOMPARE(dialog.at<QLineEdit>(1055)->text(), QStringLiteral("下"));
        QCOMPARE(dialog.at<QLineEdit>(1056)->text(), QStringLiteral("63"));
        QCOMPARE(guidance(dialog), message(123));
        QVERIFY(!dialog.at<QAbstractButton>(1051)->isChecked());
        QVERIFY(!slider->isEnabled());
        QVERIFY(!dialog.at(1052)->isEnabled());
        QCOMPARE(slider->value(), 1024);
        QCOMPARE(dialog.at<QLineEdit>(1057)->text(), QStringLiteral("0"));

        QVERIFY(framesHaveStopped());
        const auto frames = servoFrames();
        QCOMPARE(frames.back().channels[2], std::uint16_t(1024));
        QVERIFY(onlyChannelThreeMoves(frames));
        QVERIFY(std::all_of(frames.begin(), frames.end(), [&](const SimServoFrame& frame) {
            const int channel = frame.channels[2];
            return channel == 1024 || channel == first || channel == second;
        }));

        // The points reach the unit with the next Write.
        dialog.at<QAbstractButton>(1060)->click();
        QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(105)}));
        SettingsImage unit;
        unit.raw() = unitRecord();
        QCOMPARE(int(unit.limitPoint1()), 5616);
        QCOMPARE(int(unit.limitPoint2()), 4016);
    }

    // After both points are taken the frames stop and no servo-drive off is sent: the
    // first block frame of the next Write both ends servo-drive mode and must still be
    // stored, or block 0 (the channel map) would silently not reach the unit.
    void writeAfterTheProcedureSendsEveryBlock() {
        DialogHarness dialog;
        readUnit(dialog);
        startProcedure(dialog);
        dragSlider(dialog.at<QSlider>(1058), 1400);
        QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
        dragSlider(dialog.at<QSlider>(1058), 600);
        QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
        QCOMPARE(guidance(dialog), message(123));
        auto* channel = dialog.at<QComboBox>(3000);
        channel->setFocus();
        QTest::keyClick(channel, Qt::Key_Down);

        dialog.at<QAbstractButton>(1060)->click();

        QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(105)}));
        SettingsImage unit;
        unit.raw() = unitRecord();
        QCOMPARE(int(unit.channelMap(0)), 1);
    }

    void pointMustLieOutsideTheCentreBand_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("687, just below") << 687 << true;
        QTest::newRow("688, lower edge") << 688 << false;
        QTest::newRow("1360, upper edge") << 1360 << false;
        QTest::newRow("1361, just above") << 1361 << true;
    }

    void pointMustLieOutsideTheCentreBand() {
        QFETCH(int, position);
        QFETCH(bool, accepted);
        DialogHarness dialog;
        readUnit(dialog);
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        startProcedure(dialog);

        dragSlider(dialog.at<QSlider>(1058), position);
        QCOMPARE(dialog.at<QLineEdit>(1057)->text(), QStringLiteral("50"));
        QTest::mouseClick(dialog.at(1052), Qt::LeftButton);

        if (accepted) {
            QCOMPARE(dialog.prompter.texts(), QStringList{message(117)});
            QCOMPARE(guidance(dialog), message(122));
            QVERIFY(dialog->logic().limitPointModeOn());
            QCOMPARE(simServoDriveOn(), 1);
            QTRY_VERIFY_WITH_TIMEOUT(lastFrameCarries(position), 500);
        } else {
            QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(130)}));
            QCOMPARE(dialog.prompter.boxes.back().icon, Prompter::Icon::Error);
            verifyEnded(dialog, before);
        }
    }

    void refusedOrCancelledSecondPointStoresNothing_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second"); // 0: the user releases Input instead
        QTest::addColumn<int>("message");
        QTest::addColumn<Prompter::Icon>("icon");
        QTest::newRow("both above") << 1400 << 1500 << 131 << Prompter::Icon::Error;
        QTest::newRow("both below") << 600 << 500 << 131 << Prompter::Icon::Error;
        QTest::newRow("second in the band") << 1400 << 1000 << 130 << Prompter::Icon::Error;
        QTest::newRow("cancelled") << 1400 << 0 << 132 << Prompter::Icon::Warning;
    }

    void refusedOrCancelledSecondPointStoresNothing() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, message);
        QFETCH(Prompter::Icon, icon);
        DialogHarness dialog;
        readUnit(dialog);
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        startProcedure(dialog);
        dragSlider(dialog.at<QSlider>(1058), first);
        QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
        QCOMPARE(guidance(dialog), ::message(122));

        if (second != 0) {
            dragSlider(dialog.at<QSlider>(1058), second);
            QTest::mouseClick(dialog.at(1052), Qt::LeftButton);
        } else {
            QTest::mouseClick(dialog.at(1051), Qt::LeftButton);
        }

        QCOMPARE(dialog.prompter.texts(), (QStringList{::message(117), ::message(message)}));
        QCOMPARE(dialog.prompter.boxes.back().icon, icon);
        verifyEnded(dialog, before);
        // Closing finds nothing to write.
        QVERIFY(dialog->close());
        QCOMPARE(dialog.prompter.boxes.size(), qsizetype(2));
    }

    void readOrWriteEndsTheProcedureFirst_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("servoDriveOffFails");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<Pauses>("pausesAfterStart");
        const Pauses write{100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 500ms};
        Pauses endThenWrite{100ms};
        endThenWrite.insert(endThenWrite.end(), write.begin(), write.end());
        QTest::newRow("Read") << 1059 << false << QStringList{message(117)}
                              << Pauses{100ms, 1500ms};
        QTest::newRow("Write") << 1060 << false << QStringList{message(105)} << endThenWrite;
        QTest::newRow("Read, servo drive off not sent")
            << 1059 << true << QStringList{message(103)} << Pauses{100ms};
        QTest::newRow("Write, servo drive off not sent")
            << 1060 << true << QStringList{message(104)} << Pauses{100ms};
    }

    void readOrWriteEndsTheProcedureFirst() {
        QFETCH(int, button);
        QFETCH(bool, servoDriveOffFails);
        QFETCH(QStringList, messages);
        QFETCH(Pauses, pausesAfterStart);
        DialogHarness dialog;
        readUnit(dialog);
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        startProcedure(dialog);
        dragSlider(dialog.at<QSlider>(1058), 1500);
        QTRY_VERIFY_WITH_TIMEOUT(lastFrameCarries(1500), 500);
        dialog.prompter.boxes.clear();
        dialog.pauses.clear();

        if (servoDriveOffFails) {
            simSetFault(SIM_FAULT_WRITE, 0);
        }
        // What the window shows while the command talks to the unit: the mode has been
        // left already, as on Cancel, not only once the command is over. The worker asks
        // the window's thread by name, so that nothing of ours crosses between the
        // threads through Qt's locking, which the thread checker cannot see.
        observed = &dialog;
        shownDuringCommand.clear();
        bool asked = false; // the worker's own
        dialog.duringPause = [&](std::chrono::milliseconds) {
            if (!asked) {
                asked = true;
                QMetaObject::invokeMethod(this, "recordModeShown", Qt::BlockingQueuedConnection);
            }
        };
        dialog.at<QAbstractButton>(button)->click();
        observed = nullptr;

        const QString modeLeft = QStringLiteral("Input 0, slider 0, Set 0, guidance \"\"");
        QCOMPARE(shownDuringCommand, modeLeft);
        QCOMPARE(limitModeShown(dialog), modeLeft);
        QCOMPARE(dialog.prompter.texts(), messages);
        QCOMPARE(dialog.pauses, pausesAfterStart);
        QVERIFY(!dialog.at<QAbstractButton>(1051)->isChecked());
        QVERIFY(!dialog->logic().limitPointModeOn());
        QVERIFY(!dialog.at(1052)->isEnabled());
        QCOMPARE(dialog.at<QSlider>(1058)->value(), 1024);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(framesHaveStopped());
        QCOMPARE(dialog->logic().kelvo().workingImage, before);
        if (!servoDriveOffFails) {
            QCOMPARE(simServoDriveOn(), 0);
        }
    }

    // Frames lost just before Set end the procedure instead of storing a point the servo
    // may never have reached; the frame watch has had no chance to notice them.
    void framesDroppedJustBeforeSetEndTheProcedure_data() {
        QTest::addColumn<bool>("secondPoint");
        QTest::newRow("first point") << false;
        QTest::newRow("second point") << true;
    }

    void framesDroppedJustBeforeSetEndTheProcedure() {
        QFETCH(bool, secondPoint);
        DialogHarness dialog;
        readUnit(dialog);
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        startProcedure(dialog);
        QTRY_VERIFY_WITH_TIMEOUT(simServoFrameCount() > 0, 500);
        dragSlider(dialog.at<QSlider>(1058), 1400);
        if (secondPoint) {
            dialog.at<QAbstractButton>(1052)->click();
            QCOMPARE(guidance(dialog), message(122));
            dragSlider(dialog.at<QSlider>(1058), 600);
        }
        simSetFault(SIM_FAULT_WRITE, 0);
        // Without spinning the event loop, so the periodic watch stays asleep.
        for (int i = 0; i < 100 && !dialog->logic().limitPoints().framesDropped(); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        QVERIFY(dialog->logic().limitPoints().framesDropped());
        simSetFault(SIM_FAULT_NONE, 0);
        dialog.at<QAbstractButton>(1052)->click();

        QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(120)}));
        verifyEnded(dialog, before);
    }

    // No thread for the frame timer: the procedure ends with a message, and the unit
    // leaves servo-drive mode, instead of the program ending with the servo driven.
    void frameTimerThatCannotStartEndsTheProcedure() {
        DialogHarness dialog(VARNEL_SIM_PATH,
                             [] { return std::make_unique<TimerWithoutThread>(); });
        readUnit(dialog);
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        dialog.at<QAbstractButton>(1051)->click();

        QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(120)}));
        verifyEnded(dialog, before);
        QCOMPARE(simServoFrameCount(), std::size_t(0));
    }

    // Without a working servo drive the user would move a servo that does not move.
    void servoThatCannotBeDrivenEndsTheProcedure_data() {
        QTest::addColumn<bool>("failsAtStart");
        QTest::newRow("servo drive on not sent") << true;
        QTest::newRow("servo frame not sent") << false;
    }

    void servoThatCannotBeDrivenEndsTheProcedure() {
        QFETCH(bool, failsAtStart);
        DialogHarness dialog;
        readUnit(dialog);
        if (failsAtStart) {
            simSetFault(SIM_FAULT_WRITE, 0);
            QTest::mouseClick(dialog.at(1051), Qt::LeftButton);
        } else {
            startProcedure(dialog);
            QTRY_VERIFY_WITH_TIMEOUT(simServoFrameCount() > 0, 500);
            simSetFault(SIM_FAULT_WRITE, 0);
        }

        QTRY_COMPARE_WITH_TIMEOUT(dialog.prompter.texts(),
                                  (QStringList{message(117), message(120)}), 500);
        QCOMPARE(dialog.prompter.boxes.back().icon, Prompter::Icon::Error);
        QVERIFY(!dialog.at<QAbstractButton>(1051)->isChecked());
        QVERIFY(!dialog->logic().limitPointModeOn());
        QVERIFY(!dialog.at(1058)->isEnabled());
        QVERIFY(!dialog.at(1052)->isEnabled());
        QCOMPARE(guidance(dialog), QString());
        QVERIFY(framesHaveStopped());
        if (failsAtStart) {
            QCOMPARE(simServoFrameCount(), std::size_t(0));
        }
        // Once the adapter works again, the procedure starts afresh.
        simSetFault(SIM_FAULT_NONE, 0);
        startProcedure(dialog);
        QCOMPARE(guidance(dialog), message(121));
    }
};

QTEST_MAIN(LimitPointsTest)
#include "limit_points_test.moc"
