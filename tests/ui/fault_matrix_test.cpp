// Every fault the simulated adapter and unit can show, against every command that
// talks to the unit: the message, what the working image holds afterwards, and that no
// servo frame thread outlives the command.

#include "dialog_harness.h"

#include <QTest>

namespace {

constexpr int none = 0; // the command succeeds

enum class Action { Read, Write, StartLimitPoints, CloseWithWrite };

// The message a successful run of each action ends with.
int successMessage(Action action) {
    switch (action) {
    case Action::Read:
        return msg::connected;
    case Action::Write:
    case Action::CloseWithWrite:
        return msg::written;
    case Action::StartLimitPoints:
        break;
    }
    return none;
}

struct Run {
    QStringList messages;
    SettingsImage before;    // the working image just before the action
    SettingsImage collected; // what the dialog shows, packed
    SettingsImage after;
    bool framesRunningAfterAction = false;
    bool framesRunningAfterClose = false;
    bool ended = false;
};

// A unit read without fault, a setting changed the way each action needs, then the
// fault switched on and the action run.
Run runWithFault(Action action, int fault, int argument) {
    simReset();
    DialogHarness dialog;
    dialog.at<QAbstractButton>(1059)->click();
    dialog.prompter.boxes.clear();
    Run run;
    if (action == Action::CloseWithWrite) {
        dragSlider(dialog.at<QSlider>(1046), 3210); // collected at once: a change to offer
    }
    if (action == Action::Write || action == Action::CloseWithWrite) {
        // Not collected until the command collects it.
        dialog.at<QComboBox>(3000)->setCurrentIndex(5);
    }
    run.before = dialog->logic().kelvo().workingImage;
    run.collected = run.before;
    run.collected.setChannelMap(0, action == Action::StartLimitPoints || action == Action::Read
                                       ? run.before.channelMap(0)
                                       : 5);

    simSetFault(fault, argument);
    switch (action) {
    case Action::Read:
        dialog.at<QAbstractButton>(1059)->click();
        break;
    case Action::Write:
        dialog.at<QAbstractButton>(1060)->click();
        break;
    case Action::StartLimitPoints:
        dialog.at<QAbstractButton>(1051)->click();
        break;
    case Action::CloseWithWrite:
        dialog.prompter.answers.enqueue(Prompter::Answer::Yes);
        dialog->reject();
        break;
    }
    run.after = dialog->logic().kelvo().workingImage;
    run.ended = dialog->ended();
    run.framesRunningAfterAction = dialog->logic().limitPoints().framesRunning();
    run.messages = dialog.prompter.texts();
    // Whatever the command left running must stop when the dialog goes.
    simSetFault(SIM_FAULT_NONE, 0);
    if (!run.ended) {
        dialog->done(QDialog::Rejected);
    }
    dialog->logic().ConfirmClose();
    run.framesRunningAfterClose = dialog->logic().limitPoints().framesRunning();
    return run;
}

} // namespace

class FaultMatrixTest : public QObject {
    Q_OBJECT

private slots:
    void eachFaultGivesItsMessage_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("argument");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("write");
        QTest::addColumn<int>("startLimitPoints");
        QTest::addColumn<int>("closeWithWrite");
        const int readError = msg::readError, writeError = msg::writeError;
        const int fault = msg::adapterFault, foreign = msg::foreignModel;
        // Faults of opening have passed once the adapter is open.
        QTest::newRow("no adapter")
            << int(SIM_FAULT_NO_ADAPTER) << 0 << none << none << none << none;
        QTest::newRow("open step") << int(SIM_FAULT_OPEN_STEP) << 3 << none << none << none << none;
        QTest::newRow("purge") << int(SIM_FAULT_PURGE) << 0 << fault << fault << none << fault;
        QTest::newRow("write") << int(SIM_FAULT_WRITE) << 0 << readError << writeError << fault
                               << writeError;
        QTest::newRow("read") << int(SIM_FAULT_READ) << 0 << readError << writeError << none
                              << writeError;
        QTest::newRow("no reply") << int(SIM_FAULT_NO_REPLY) << 0 << readError << writeError << none
                                  << writeError;
        QTest::newRow("wrong marker")
            << int(SIM_FAULT_WRONG_MARKER) << 0 << readError << writeError << none << writeError;
        QTest::newRow("bad checksum")
            << int(SIM_FAULT_BAD_CHECKSUM) << 0 << readError << writeError << none << writeError;
        QTest::newRow("foreign model")
            << int(SIM_FAULT_FOREIGN_MODEL) << 0x8C << foreign << foreign << none << foreign;
        QTest::newRow("short reply")
            << int(SIM_FAULT_SHORT_REPLY) << 60 << readError << writeError << none << writeError;
        QTest::newRow("stored differently")
            << int(SIM_FAULT_STORE_DIFFERENTLY) << 40 << none << writeError << none << writeError;
        QTest::newRow("unplugged") << int(SIM_FAULT_UNPLUGGED_AFTER) << 0 << readError << writeError
                                   << fault << writeError;
    }

    void eachFaultGivesItsMessage() {
        QFETCH(int, fault);
        QFETCH(int, argument);
        QFETCH(int, read);
        QFETCH(int, write);
        QFETCH(int, startLimitPoints);
        QFETCH(int, closeWithWrite);
        const std::pair<Action, int> cells[] = {{Action::Read, read},
                                                {Action::Write, write},
                                                {Action::StartLimitPoints, startLimitPoints},
                                                {Action::CloseWithWrite, closeWithWrite}};
        for (const auto& [action, failure] : cells) {
            const Run run = runWithFault(action, fault, argument);
            const int expected = failure == none ? successMessage(action) : failure;
            QStringList messages;
            if (action == Action::CloseWithWrite) {
                messages.append(message(msg::writeBeforeExit));
            }
            if (expected != none) {
                messages.append(message(expected));
            }
            const QString cell = QStringLiteral("action %1").arg(int(action));
            QVERIFY2(run.messages == messages, qPrintable(cell + ": " + run.messages.join('|')));

            switch (action) {
            case Action::Read:
                // A failed Read leaves the image alone; a good one takes the unit's.
                QVERIFY2(failure == none ? run.after.sameSettings(run.before)
                                         : run.after == run.before,
                         qPrintable(cell));
                break;
            case Action::Write:
                QVERIFY2(run.after.sameSettings(run.collected), qPrintable(cell));
                break;
            case Action::StartLimitPoints:
                QVERIFY2(run.after == run.before, qPrintable(cell));
                break;
            case Action::CloseWithWrite:
                QVERIFY2(run.after.sameSettings(run.collected), qPrintable(cell));
                // Only a write that reached the unit lets the dialog close.
                QVERIFY2(run.ended == (failure == none), qPrintable(cell));
                break;
            }
            // Frames flow only from a procedure that started, and never past closing.
            QVERIFY2(run.framesRunningAfterAction ==
                         (action == Action::StartLimitPoints && failure == none),
                     qPrintable(cell));
            QVERIFY2(!run.framesRunningAfterClose, qPrintable(cell));
        }
    }
};

QTEST_MAIN(FaultMatrixTest)
#include "fault_matrix_test.moc"
