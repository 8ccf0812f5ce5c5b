// The dialog on the serial port: the whole program over the simulated unit's
// pseudo-terminal, the version box naming the port, the two messages of a tty that
// cannot be had, and an adapter pulled out during a Write.

#include "dialog_harness.h"

#include "device/serial/serial_port.h"
#include "sim/pty_unit.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <thread>

using namespace std::chrono_literals;

namespace {

PortChoice tty(const std::string& path) {
    PortChoice port;
    port.device = path;
    return port;
}

// The pauses pass for real, shortened: the echo of what went out must be back before
// the next read purges the line.
void shortPause(std::chrono::milliseconds pause) {
    std::this_thread::sleep_for(pause / 2);
}

int threadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& task :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

} // namespace

class SerialPortDialogTest : public QObject {
    Q_OBJECT

private slots:
    void readWriteAndTheVersionBoxOverTheTty() {
        sim::PtyUnit unit;
        unit.start();
        DialogHarness dialog(tty(unit.slavePath()));
        dialog.duringPause = shortPause;
        QVERIFY(!dialog->ended());

        dialog.at<QAbstractButton>(1059)->click();
        QCOMPARE(dialog.prompter.texts(), QStringList{message(117)});
        QVERIFY(dialog->logic().unitRead());
        dragSlider(dialog.at<QSlider>(1046), 3210);
        dialog.at<QAbstractButton>(1060)->click();
        QCOMPARE(dialog.prompter.texts().back(), message(105));
        const sim::Record written = unit.record();
        QVERIFY(std::equal(written.begin() + 6, written.begin() + 84,
                           dialog->logic().kelvo().workingImage.raw().begin() + 6));
        QCOMPARE(dialog->logic().kelvo().workingImage.targetRpm(0), std::uint16_t(3210));

        QStringList labels;
        QTimer::singleShot(0, [&labels] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                for (const QLabel* label : box->findChildren<QLabel*>()) {
                    labels.append(label->text());
                }
                box->accept();
            }
        });
        dialog->action(57664)->trigger();
        QVERIFY(labels.contains(QString::fromStdString("QB-7: " + unit.slavePath())));
    }

    void heldTtyGetsItsOwnMessage() {
        sim::PtyUnit unit;
        SerialPort holder(unit.slavePath());
        holder.open();
        DialogHarness dialog(tty(unit.slavePath()));
        const QString expected =
            QString::fromStdString(messageText(msg::portBusy, unit.slavePath()));
        QCOMPARE(dialog.prompter.texts(), QStringList{expected});
        QVERIFY(expected.contains(QString::fromStdString(unit.slavePath())));
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Error);
        QVERIFY(dialog->ended());
    }

    void unpluggedDuringWrite() {
        sim::PtyUnit unit;
        unit.start();
        DialogHarness dialog(tty(unit.slavePath()));
        dialog.duringPause = shortPause;
        dialog.at<QAbstractButton>(1059)->click();
        QVERIFY(dialog->logic().unitRead());
        dragSlider(dialog.at<QSlider>(1046), 3210);
        const SettingsImage edited = dialog->logic().kelvo().workingImage;
        QCOMPARE(edited.targetRpm(0), std::uint16_t(3210));
        const sim::Record before = unit.record();
        const int threadsBefore = threadCount();

        int pauses = 0;
        dialog.duringPause = [&](std::chrono::milliseconds pause) {
            if (++pauses == 4) {
                unit.unplug();
            }
            shortPause(pause);
        };
        dialog.at<QAbstractButton>(1060)->click();

        QCOMPARE(dialog.prompter.texts().back(), message(104));
        QCOMPARE(dialog->logic().kelvo().workingImage, edited);
        QCOMPARE(unit.record(), before);
        QVERIFY(!dialog->ended());
        // No device step is left running; the unit's own thread is stopped here.
        unit.stop();
        QCOMPARE(threadCount(), threadsBefore - 1);
    }
};

QTEST_MAIN(SerialPortDialogTest)
#include "serial_port_test.moc"
