// Input that arrives while the adapter talks to the unit, from the mouse or from a
// screen reader's actions (which bypass input events): nothing starts, nothing moves,
// and the image stays the command's.

#include "dialog_harness.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

void pressAccessibly(QWidget* widget) {
    QAccessibleActionInterface* actions =
        QAccessible::queryAccessibleInterface(widget)->actionInterface();
    actions->doAction(actions->actionNames().front());
}

} // namespace

class InputDuringCommandTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    void inputDuringACommandStartsNothing_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("other");
        QTest::addColumn<int>("success");
        QTest::newRow("during a Read") << 1059 << 1060 << 117;
        QTest::newRow("during a Write") << 1060 << 1059 << 105;
    }

    void inputDuringACommandStartsNothing() {
        QFETCH(int, command);
        QFETCH(int, other);
        QFETCH(int, success);
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.dialog.get()));
        dialog.at<QAbstractButton>(1059)->click();
        dialog.prompter.boxes.clear();
        dialog.at<QAbstractButton>(1012)->click(); // an unwritten change for the Write
        const SettingsImage collected = dialog->logic().kelvo().workingImage;

        // The worker stays inside the device step until the input has been tried.
        std::atomic<bool> inputTried{false};
        dialog.duringPause = [&](std::chrono::milliseconds) {
            for (int i = 0; i < 500 && !inputTried; ++i) {
                std::this_thread::sleep_for(2ms);
            }
        };

        auto* dragged = dialog.at<QSlider>(1046);
        auto* moved = dialog.at<QSlider>(1048);
        const int draggedBefore = dragged->value();
        const int movedBefore = moved->value();
        QSignalSpy draggedMoves(dragged, &QSlider::valueChanged);
        const QPoint handle = handleCentre(dragged);
        QTest::mousePress(dragged, Qt::LeftButton, {}, handle); // a drag under way
        bool insideStep = false;
        int draggedDuringStep = -1;
        int movedDuringStep = -1;
        QTimer::singleShot(0, [&] {
            insideStep = QApplication::overrideCursor() != nullptr;
            QTest::mouseMove(dragged, {dragged->width() - 4, handle.y()});
            pressAccessibly(dialog.at(other));
            pressAccessibly(dialog.at(1051));
            pressAccessibly(dialog.at(1013));
            QAccessible::queryAccessibleInterface(moved)->valueInterface()->setCurrentValue(
                movedBefore + 500);
            draggedDuringStep = dragged->value();
            movedDuringStep = moved->value();
            inputTried = true;
        });
        dialog.at<QAbstractButton>(command)->click();
        QTest::mouseRelease(dragged, Qt::LeftButton, {}, handle);

        QVERIFY(insideStep);
        QVERIFY(inputTried);
        QCOMPARE(dialog.prompter.texts(), QStringList{message(success)});
        QCOMPARE(draggedDuringStep, draggedBefore);
        QCOMPARE(draggedMoves.count(), 0);
        QCOMPARE(movedDuringStep, movedBefore);
        QVERIFY(!dialog->logic().limitPointModeOn());
        QCOMPARE(simServoDriveOn(), 0);
        SettingsImage unit;
        unit.raw() = unitRecord();
        if (command == 1060) {
            QCOMPARE(dialog->logic().kelvo().workingImage, collected);
            QVERIFY(unit.sameSettings(collected));
            QVERIFY(dialog.at<QAbstractButton>(1012)->isChecked());
            QVERIFY(!dialog.at<QAbstractButton>(1013)->isChecked());
        } else {
            QCOMPARE(dialog->logic().kelvo().workingImage, unit);
        }
    }
};

QTEST_MAIN(InputDuringCommandTest)
#include "input_during_command_test.moc"
