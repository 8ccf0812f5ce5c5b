// Read and Write from the dialog against the simulated unit: what the user sees, what
// the unit ends up holding, and the window staying alive while the adapter works.

#include "dialog_harness.h"

#include "commands/backup_store.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

using namespace std::chrono_literals;

namespace {

using Pauses = std::vector<std::chrono::milliseconds>;

const Pauses readPauses{1500ms};
const Pauses writePauses{100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 100ms, 500ms};

Pauses concat(Pauses first, const Pauses& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

bool sameSettings(const SettingsImage::Bytes& record, const SettingsImage& image) {
    return std::equal(record.begin() + 6, record.begin() + 84, image.raw().begin() + 6);
}

// A unit whose record differs from the factory one in values the dialog shows.
SettingsImage::Bytes distinctiveUnit() {
    SettingsImage image;
    image.raw() = unitRecord();
    image.setTargetRpm(0, 2345);
    image.setGovernorGain(77);
    image.setLimitPoint1(5616);
    image.setLimitPoint2(4016);
    simSetRecord(image.raw().data());
    return image.raw();
}

Qt::CursorShape cursorShape() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

// Starts a unit command the way the user does.
void start(DialogHarness& dialog, const QString& how, int button, int command) {
    if (how == QLatin1String("button")) {
        QTest::mouseClick(dialog.at(button), Qt::LeftButton);
    } else {
        dialog->action(command)->trigger();
    }
}

void readUnit(DialogHarness& dialog) {
    dialog.at<QAbstractButton>(1059)->click();
    QCOMPARE(dialog.prompter.boxes.back().text, message(117));
}

} // namespace

// Runs a function on the window's thread for another thread and waits for it. The call
// goes by name, so that Qt alone builds, queues and frees it: nothing of it is shared
// by the two threads outside Qt's own locking, which ThreadSanitizer cannot see.
class WindowThreadCall : public QObject {
    Q_OBJECT

public:
    explicit WindowThreadCall(std::function<void()> call) : call(std::move(call)) {}
    void runAndWait() { QMetaObject::invokeMethod(this, "run", Qt::BlockingQueuedConnection); }

public slots:
    void run() { call(); }

private:
    std::function<void()> call;
};

class UnitCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }

    void readShowsTheUnitsValues_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "button";
        QTest::newRow("menu") << "menu";
    }

    void readShowsTheUnitsValues() {
        QFETCH(QString, how);
        const SettingsImage::Bytes record = distinctiveUnit();
        DialogHarness dialog;
        Qt::CursorShape cursorAtMessage = Qt::ArrowCursor;
        dialog.prompter.whileShown = [&](const ScriptedPrompter::Box&) {
            cursorAtMessage = cursorShape();
        };

        start(dialog, how, 1059, 32771);

        QCOMPARE(dialog.prompter.texts(), QStringList{message(117)});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Information);
        QCOMPARE(cursorAtMessage, Qt::WaitCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(dialog.pauses, readPauses);

        const SettingsImage& working = dialog->logic().kelvo().workingImage;
        QVERIFY(sameSettings(record, working));
        QCOMPARE(working.unitId(), std::uint16_t(record[2] << 8 | record[3]));
        QCOMPARE(working, dialog->logic().kelvo().receivedImage);
        QCOMPARE(dialog.at<QLineEdit>(1018)->text(), QStringLiteral("2345"));
        QCOMPARE(dialog.at<QSlider>(1046)->value(), 2345);
        QCOMPARE(dialog.at<QLineEdit>(1030)->text(), QStringLiteral("77"));
        QCOMPARE(dialog.at<QLineEdit>(1054)->text(), QStringLiteral("56"));
        QCOMPARE(dialog.at<QLineEdit>(1056)->text(), QStringLiteral("63"));
        QVERIFY(dialog->logic().unitRead());
        QVERIFY(dialog.at(1060)->isEnabled());
        QVERIFY(dialog.at(1051)->isEnabled());
        QVERIFY(dialog->action(32772)->isEnabled());
    }

    // Every Read keeps what the unit sent under the user's data folder, without a box
    // of its own; a folder that cannot take it does not fail the Read.
    void readKeepsABackupWithoutABox_data() {
        QTest::addColumn<bool>("usableFolder");
        QTest::newRow("usable folder") << true;
        QTest::newRow("data folder is a file") << false;
    }

    void readKeepsABackupWithoutABox() {
        QFETCH(bool, usableFolder);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString dataHome = scratch.filePath(QStringLiteral("data"));
        if (!usableFolder) {
            QFile blocker(dataHome);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        const QByteArray previous = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
        DialogHarness dialog;
        qputenv("XDG_DATA_HOME", previous);

        readUnit(dialog);
        readUnit(dialog); // the same record again adds no file

        QCOMPARE(dialog.prompter.texts(), QStringList(2, message(117)));
        QVERIFY(dialog->logic().unitRead());
        const SettingsImage& received = dialog->logic().kelvo().receivedImage;
        BackupStore store(std::filesystem::path(dataHome.toStdString()) / "varnel" / "backups",
                          [](std::string_view) {});
        const auto kept = store.backupsOf(received.unitId());
        if (!usableFolder) {
            QVERIFY(kept.empty());
            return;
        }
        QCOMPARE(kept.size(), std::size_t(1));
        QFile backup(QString::fromStdString(kept.front().string()));
        QVERIFY(backup.open(QIODevice::ReadOnly));
        const QByteArray record(reinterpret_cast<const char*>(received.raw().data()),
                                qsizetype(received.raw().size()));
        QCOMPARE(backup.readAll(), record);
    }

    void failedReadChangesNothing_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("argument");
        QTest::addColumn<bool>("readBefore");
        QTest::addColumn<int>("message");
        QTest::newRow("unit silent") << int(SIM_FAULT_NO_REPLY) << 0 << true << 103;
        QTest::newRow("unit silent, never read") << int(SIM_FAULT_NO_REPLY) << 0 << false << 103;
        QTest::newRow("wrong marker") << int(SIM_FAULT_WRONG_MARKER) << 0 << true << 103;
        QTest::newRow("bad checksum") << int(SIM_FAULT_BAD_CHECKSUM) << 0 << true << 103;
        QTest::newRow("short reply") << int(SIM_FAULT_SHORT_REPLY) << 60 << true << 103;
        QTest::newRow("adapter read fails") << int(SIM_FAULT_READ) << 0 << true << 103;
        QTest::newRow("preamble not sent") << int(SIM_FAULT_WRITE) << 0 << true << 103;
        QTest::newRow("request not sent") << int(SIM_FAULT_WRITE) << 1 << true << 103;
        QTest::newRow("unplugged") << int(SIM_FAULT_UNPLUGGED_AFTER) << 0 << true << 103;
        QTest::newRow("purge fails") << int(SIM_FAULT_PURGE) << 0 << true << 120;
        QTest::newRow("foreign model") << int(SIM_FAULT_FOREIGN_MODEL) << 0 << true << 102;
        QTest::newRow("foreign model, never read")
            << int(SIM_FAULT_FOREIGN_MODEL) << 0 << false << 102;
    }

    void failedReadChangesNothing() {
        QFETCH(int, fault);
        QFETCH(int, argument);
        QFETCH(bool, readBefore);
        QFETCH(int, message);
        DialogHarness dialog;
        if (readBefore) {
            readUnit(dialog);
        }
        // Edited values that are not the unit's, so a stray copy would show.
        dialog.prompter.answers.enqueue(Prompter::Answer::Yes);
        dialog->action(57600)->trigger();
        dragSlider(dialog.at<QSlider>(1046), 3210);
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        const QStringList shownBefore = shownValues(*dialog);
        dialog.prompter.boxes.clear();

        simSetFault(fault, argument);
        dialog.at<QAbstractButton>(1059)->click();

        QCOMPARE(dialog.prompter.texts(), QStringList{::message(message)});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Error);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(dialog->logic().kelvo().workingImage, before);
        QCOMPARE(shownValues(*dialog), shownBefore);
        QCOMPARE(dialog->logic().unitRead(), readBefore);
        QCOMPARE(dialog.at(1060)->isEnabled(), readBefore);
    }

    void writeLeavesTheUnitHoldingWhatTheDialogShowed_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("button") << "button";
        QTest::newRow("menu") << "menu";
    }

    void writeLeavesTheUnitHoldingWhatTheDialogShowed() {
        QFETCH(QString, how);
        DialogHarness dialog;
        readUnit(dialog);
        Qt::CursorShape cursorAtMessage = Qt::ArrowCursor;
        dialog.prompter.whileShown = [&](const ScriptedPrompter::Box&) {
            cursorAtMessage = cursorShape();
        };

        dragSlider(dialog.at<QSlider>(1046), 3210);
        dialog.at<QAbstractButton>(1016)->click(); // the "Quick" preset
        dragSlider(dialog.at<QSlider>(1031), 85);  // and a gain of the user's own
        auto* channel = dialog.at<QComboBox>(3000);
        channel->setFocus();
        QTest::keyClick(channel, Qt::Key_Down);
        QCOMPARE(channel->currentIndex(), 1);
        const QStringList shownBefore = shownValues(*dialog);

        start(dialog, how, 1060, 32772);

        QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(105)}));
        QCOMPARE(dialog.prompter.boxes.back().icon, Prompter::Icon::Information);
        QCOMPARE(cursorAtMessage, Qt::WaitCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(dialog.pauses, concat(readPauses, writePauses));

        SettingsImage unit;
        unit.raw() = unitRecord();
        QVERIFY(sameSettings(unit.raw(), dialog->logic().kelvo().workingImage));
        QCOMPARE(unit.targetRpm(0), std::uint16_t(3210));
        QCOMPARE(int(unit.governorGain()), 85);
        QCOMPARE(int(unit.controlResponse()), 2);
        QCOMPARE(int(unit.channelMap(0)), 1);
        QCOMPARE(shownValues(*dialog), shownBefore);
        QVERIFY(dialog->logic().kelvo().workingImage.sameSettings(
            dialog->logic().kelvo().receivedImage));
    }

    void failedWriteKeepsTheUsersValues_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("argument");
        QTest::addColumn<int>("message");
        QTest::newRow("unit stores a byte differently")
            << int(SIM_FAULT_STORE_DIFFERENTLY) << 40 << 104;
        QTest::newRow("last compared byte differs")
            << int(SIM_FAULT_STORE_DIFFERENTLY) << 83 << 104;
        QTest::newRow("foreign model on read-back") << int(SIM_FAULT_FOREIGN_MODEL) << 0 << 102;
        QTest::newRow("no read-back") << int(SIM_FAULT_NO_REPLY) << 0 << 104;
        QTest::newRow("block not sent") << int(SIM_FAULT_WRITE) << 3 << 104;
        QTest::newRow("purge fails") << int(SIM_FAULT_PURGE) << 0 << 120;
    }

    void failedWriteKeepsTheUsersValues() {
        QFETCH(int, fault);
        QFETCH(int, argument);
        QFETCH(int, message);
        DialogHarness dialog;
        readUnit(dialog);
        dragSlider(dialog.at<QSlider>(1046), 3210);
        const QStringList shownBefore = shownValues(*dialog);

        simSetFault(fault, argument);
        dialog.at<QAbstractButton>(1060)->click();

        QCOMPARE(dialog.prompter.texts(), (QStringList{::message(117), ::message(message)}));
        QCOMPARE(dialog.prompter.boxes.back().icon, Prompter::Icon::Error);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(shownValues(*dialog), shownBefore);
        QCOMPARE(dialog->logic().kelvo().workingImage.targetRpm(0), std::uint16_t(3210));
        QVERIFY(dialog->logic().unitRead());
    }

    // The adapter works on another thread; meanwhile the window paints, shows the wait
    // cursor and drops what the user clicks or types, so no second command starts.
    void windowStaysAliveButDeafDuringACommand() {
        DialogHarness dialog;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.dialog.get()));
        readUnit(dialog);

        struct PaintCounter : QObject {
            std::atomic<int> paints = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint) {
                    ++paints;
                }
                return false;
            }
        } counter;
        dialog.at(1018)->installEventFilter(&counter);

        const std::thread::id uiThread = std::this_thread::get_id();
        std::atomic<bool> uiThreadRan = false;
        bool painted = false;
        Qt::CursorShape cursorDuringStep = Qt::ArrowCursor;
        WindowThreadCall pokeTheWindow([&] {
            uiThreadRan = true;
            cursorDuringStep = cursorShape();
            counter.paints = 0;
            dialog.at(1018)->update();
            QTest::mouseClick(dialog.at(1060), Qt::LeftButton);
            QTest::mouseClick(dialog.at(1059), Qt::LeftButton);
            QTest::keyClick(dialog.dialog.get(), Qt::Key_R, Qt::ControlModifier);
            QTest::keyClick(dialog.dialog.get(), Qt::Key_Escape);
        });
        dialog.duringPause = [&](std::chrono::milliseconds) {
            if (std::this_thread::get_id() == uiThread || uiThreadRan) {
                return;
            }
            pokeTheWindow.runAndWait();
            for (int tries = 0; tries < 100 && counter.paints == 0; ++tries) {
                std::this_thread::sleep_for(5ms);
            }
            painted = counter.paints > 0;
        };

        dialog.at<QAbstractButton>(1059)->click();
        dialog.duringPause = nullptr;

        QVERIFY(uiThreadRan);
        QVERIFY(painted);
        QCOMPARE(cursorDuringStep, Qt::WaitCursor);
        // One Read, nothing else: no second preamble, no Write, no closing.
        QCOMPARE(dialog.prompter.texts(), (QStringList{message(117), message(117)}));
        QCOMPARE(dialog.pauses, concat(readPauses, readPauses));
        QVERIFY(!dialog->ended());
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // And the window takes input again afterwards.
        QTest::mouseClick(dialog.at(1059), Qt::LeftButton);
        QCOMPARE(dialog.prompter.boxes.size(), qsizetype(3));
    }
};

QTEST_MAIN(UnitCommandsTest)
#include "unit_commands_test.moc"
