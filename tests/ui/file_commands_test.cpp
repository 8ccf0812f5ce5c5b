// Initialize, Open, Save and Save As from the File menu, with real files, and the
// file dialogs and the overwrite question as the desktop shows them.

#include "as_ordinary_user.h"
#include "dialog_harness.h"

#include "tests/factory_bytes.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray bytesOf(const SettingsImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.raw().data()),
                      qsizetype(image.raw().size()));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A settings file holding the unit's record with a changed target speed.
QByteArray settingsWithTargetRpm(int rpm) {
    SettingsImage image;
    image.raw() = unitRecord();
    image.setTargetRpm(0, std::uint16_t(rpm));
    return bytesOf(image);
}

// Answers the next modal window of type Window once it is up; the answer runs inside
// the modal's own event loop.
template <class Window> void whenModalShows(std::function<void(Window*)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(window);
        }
    });
    poll->start();
}

QAbstractButton* acceptButton(QFileDialog* files) {
    auto* buttons = files->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    return buttons->button(files->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                          : QDialogButtonBox::Open);
}

// What the user does: types a name into the file name box and presses the button.
void typeAndAccept(QFileDialog* files, const QString& name) {
    files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    acceptButton(files)->click();
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString path(const QString& name) const { return folder.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(folder.isValid());
        // Reachable by the ordinary user of the permission tests.
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther);
    }
    void init() { simReset(); }

    void initializeAsksThenShowsFactoryValues_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::newRow("Yes") << Prompter::Answer::Yes;
        QTest::newRow("No") << Prompter::Answer::No;
    }

    void initializeAsksThenShowsFactoryValues() {
        QFETCH(Prompter::Answer, answer);
        SettingsImage unit;
        unit.raw() = unitRecord();
        unit.setTargetRpm(0, 2345);
        simSetRecord(unit.raw().data());
        DialogHarness dialog;
        dialog.at<QAbstractButton>(1059)->click();
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        const QStringList shownBefore = shownValues(*dialog);
        dialog.prompter.boxes.clear();
        dialog.prompter.answers.enqueue(answer);

        dialog->action(57600)->trigger();

        QCOMPARE(dialog.prompter.texts(), QStringList{message(106)});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Question);
        QCOMPARE(dialog.prompter.boxes.front().buttons, Prompter::Buttons::YesNo);
        QVERIFY(dialog->logic().unitRead());
        QCOMPARE(dialog->logic().kelvo().receivedImage, before);
        if (answer == Prompter::Answer::No) {
            QCOMPARE(dialog->logic().kelvo().workingImage, before);
            QCOMPARE(shownValues(*dialog), shownBefore);
            return;
        }
        SettingsImage factory = before;
        std::copy(factoryBytes.begin(), factoryBytes.end(),
                  factory.raw().begin() + factoryBytesOffset);
        // The header stays the unit's, so a Write still goes to this unit.
        QCOMPARE(dialog->logic().kelvo().workingImage, factory);
        QCOMPARE(dialog.at<QLineEdit>(1018)->text(), QStringLiteral("2000"));
        QCOMPARE(dialog.at<QLineEdit>(1054)->text(), QStringLiteral("100"));
        QCOMPARE(dialog.at<QLineEdit>(1056)->text(), QStringLiteral("100"));
        QCOMPARE(dialog.at<QLineEdit>(1027)->text(), QStringLiteral("8.00"));
        QCOMPARE(dialog.at<QLineEdit>(1030)->text(), QStringLiteral("40"));
        QVERIFY(dialog.at<QAbstractButton>(1015)->isChecked());
    }

    void saveWithoutAPathActsAsSaveAs() {
        const QString file = path(QStringLiteral("first.gvx"));
        DialogHarness dialog;
        dialog.prompter.answers.enqueue(Prompter::Answer::Yes);
        dialog->action(57600)->trigger();
        dialog.prompter.fileNames.enqueue(file);

        dialog->action(57603)->trigger();

        QVERIFY(dialog.prompter.fileNames.isEmpty());
        QCOMPARE(fileBytes(file), bytesOf(dialog->logic().kelvo().workingImage));
        QCOMPARE(QString::fromStdString(dialog->logic().filePath()), file);
        QVERIFY(dialog->logic().hasFilePath());

        // A Read keeps the remembered file, and Save goes there without a dialog: a
        // dialog now would cancel and leave the file as it was.
        dialog.at<QAbstractButton>(1059)->click();
        dragSlider(dialog.at<QSlider>(1046), 3210);
        dialog->action(57603)->trigger();
        QCOMPARE(dialog.prompter.texts(), (QStringList{message(106), message(117)}));
        QCOMPARE(fileBytes(file), bytesOf(dialog->logic().kelvo().workingImage));
        QCOMPARE(dialog->logic().kelvo().workingImage.targetRpm(0), std::uint16_t(3210));
    }

    void saveAsAsksBeforeOverwriting_data() {
        QTest::addColumn<Prompter::Answer>("answer");
        QTest::newRow("Yes") << Prompter::Answer::Yes;
        QTest::newRow("No") << Prompter::Answer::No;
    }

    void saveAsAsksBeforeOverwriting() {
        QFETCH(Prompter::Answer, answer);
        const QString earlier = path(QStringLiteral("earlier.gvx"));
        const QString existing = path(QStringLiteral("existing.gvx"));
        const QByteArray old(85, '\x3C');
        QFile::remove(earlier);
        writeFile(existing, old);
        DialogHarness dialog;
        dialog.prompter.fileNames.enqueue(earlier);
        dialog->action(57604)->trigger();
        QVERIFY(dialog.prompter.boxes.isEmpty());

        dialog.prompter.fileNames.enqueue(existing);
        dialog.prompter.answers.enqueue(answer);
        dialog->action(57604)->trigger();

        QCOMPARE(
            dialog.prompter.texts(),
            QStringList{QStringLiteral("ファイル existing.gvx は既に存在します。上書きしますか?")});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Warning);
        QCOMPARE(dialog.prompter.boxes.front().buttons, Prompter::Buttons::YesNo);
        const bool yes = answer == Prompter::Answer::Yes;
        QCOMPARE(fileBytes(existing), yes ? bytesOf(dialog->logic().kelvo().workingImage) : old);
        QCOMPARE(QString::fromStdString(dialog->logic().filePath()), yes ? existing : earlier);
    }

    void openedFileIsShownWithoutEnablingWrite() {
        const QString file = path(QStringLiteral("opened.gvx"));
        writeFile(file, settingsWithTargetRpm(3210));
        DialogHarness dialog;
        dialog.prompter.fileNames.enqueue(file);

        dialog->action(57601)->trigger();

        QVERIFY(dialog.prompter.boxes.isEmpty());
        QCOMPARE(dialog.at<QLineEdit>(1018)->text(), QStringLiteral("3210"));
        QCOMPARE(dialog.at<QSlider>(1046)->value(), 3210);
        QCOMPARE(QString::fromStdString(dialog->logic().filePath()), file);
        QVERIFY(!dialog->logic().unitRead());
        QVERIFY(!dialog.at(1060)->isEnabled());
        QVERIFY(!dialog->action(32772)->isEnabled());
    }

    // A refused file must not become the save target: Ctrl+S would otherwise overwrite
    // another model's file with settings that did not come from it.
    void refusedOpenKeepsTheEarlierSaveTarget_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("refusal");
        QByteArray foreign = settingsWithTargetRpm(1111);
        foreign[1] = char(0x42);
        QTest::newRow("short file") << QByteArray(40, char(7)) << 108;
        QTest::newRow("another model") << foreign << 102;
    }

    void refusedOpenKeepsTheEarlierSaveTarget() {
        QFETCH(QByteArray, content);
        QFETCH(int, refusal);
        const QString good = path(QStringLiteral("good.gvx"));
        const QString refused = path(QStringLiteral("refused.gvx"));
        writeFile(good, settingsWithTargetRpm(3210));
        writeFile(refused, content);
        DialogHarness dialog;
        dialog.prompter.fileNames.enqueue(good);
        dialog->action(57601)->trigger();
        dialog.prompter.fileNames.enqueue(refused);
        dialog->action(57601)->trigger();

        QCOMPARE(dialog.prompter.texts(), QStringList{message(refusal)});
        QCOMPARE(QString::fromStdString(dialog->logic().filePath()), good);
        dialog->action(57603)->trigger();
        QCOMPARE(fileBytes(refused), content);
        QCOMPARE(fileBytes(good), bytesOf(dialog->logic().kelvo().workingImage));

        // With nothing remembered yet, Save after a refused Open asks for a name.
        DialogHarness fresh;
        fresh.prompter.fileNames.enqueue(refused);
        fresh->action(57601)->trigger();
        QVERIFY(!fresh->logic().hasFilePath());
        fresh->action(57603)->trigger(); // the save dialog is cancelled
        QCOMPARE(fileBytes(refused), content);
    }

    void openOfAFileThatCannotBeReadChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readable");
        QTest::newRow("gone since it was chosen") << "gone.gvx" << true;
        QTest::newRow("no read permission") << "locked.gvx" << false;
    }

    void openOfAFileThatCannotBeReadChangesNothing() {
        QFETCH(QString, name);
        QFETCH(bool, readable);
        const QString good = path(QStringLiteral("good.gvx"));
        writeFile(good, settingsWithTargetRpm(3210));
        const QString bad = path(name);
        if (!readable) {
            writeFile(bad, settingsWithTargetRpm(1111));
            QFile::setPermissions(bad, QFile::WriteOwner);
        }
        DialogHarness dialog;
        dialog.prompter.fileNames.enqueue(good);
        dialog->action(57601)->trigger();
        const SettingsImage before = dialog->logic().kelvo().workingImage;
        const QStringList shownBefore = shownValues(*dialog);

        dialog.prompter.fileNames.enqueue(bad);
        {
            AsOrdinaryUser ordinary;
            dialog->action(57601)->trigger();
        }

        QCOMPARE(dialog.prompter.texts(), QStringList{message(108)});
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Error);
        QCOMPARE(dialog->logic().kelvo().workingImage, before);
        QCOMPARE(shownValues(*dialog), shownBefore);
        QCOMPARE(QString::fromStdString(dialog->logic().filePath()), good);
    }

    void saveIntoAFolderThatCannotBeWrittenGives112() {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("readonly")));
        const QString locked = path(QStringLiteral("readonly"));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
        const QString file = locked + QStringLiteral("/a.gvx");
        DialogHarness dialog;
        dialog.prompter.fileNames.enqueue(file);
        {
            AsOrdinaryUser ordinary;
            dialog->action(57604)->trigger();
            // The path is remembered all the same: Save tries it again without a dialog.
            dialog->action(57603)->trigger();
        }

        QCOMPARE(dialog.prompter.texts(), (QStringList{message(112), message(112)}));
        QCOMPARE(dialog.prompter.boxes.front().icon, Prompter::Icon::Error);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(QString::fromStdString(dialog->logic().filePath()), file);
        QVERIFY(QDir(locked).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // The desktop's own file dialogs and message boxes, as the program sets them up.
    void fileDialogsAndOverwriteQuestionAsShown() {
        DialogServices services;
        services.port.driverLibrary = VARNEL_SIM_PATH;
        services.port.serialFallback = false;
        services.sleep = [](std::chrono::milliseconds) {};
        VarnelDlg dialog(services);
        dialog.initialize();
        dialog.show();

        QString initialName;
        QStringList filters;
        QString suffix;
        bool stayedOpen = false;
        whenModalShows<QFileDialog>([&](QFileDialog* files) {
            suffix = files->defaultSuffix();
            filters = files->nameFilters();
            files->setDirectory(folder.path());
            auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            initialName = name->text();
            // Saving with the initial name untouched must not create a file named by
            // the pattern.
            acceptButton(files)->click();
            stayedOpen = files->isVisible();
            typeAndAccept(files, QStringLiteral("typed"));
        });
        dialog.action(57604)->trigger();
        QCOMPARE(suffix, QStringLiteral("gvx"));
        QCOMPARE(filters, QStringList{QStringLiteral("Kelvo Files (*.gvx)")});
        QCOMPARE(initialName, QStringLiteral("*.gvx"));
        QVERIFY(stayedOpen);
        QVERIFY(!QFile::exists(path(QStringLiteral("*.gvx"))));
        // The name typed without extension gets the default one.
        const QString typed = path(QStringLiteral("typed.gvx"));
        QCOMPARE(QString::fromStdString(dialog.logic().filePath()), typed);
        QVERIFY(QFile::exists(typed));

        // Choosing it again: the program's question, not the file dialog's.
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        whenModalShows<QFileDialog>([&](QFileDialog* files) {
            whenModalShows<QMessageBox>([&](QMessageBox* box) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                buttons = box->standardButtons();
                box->button(QMessageBox::No)->click();
            });
            typeAndAccept(files, QStringLiteral("typed.gvx"));
        });
        dialog.action(57604)->trigger();
        QCOMPARE(title, QStringLiteral("Varnel"));
        QCOMPARE(text, QStringLiteral("ファイル typed.gvx は既に存在します。上書きしますか?"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);

        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        whenModalShows<QFileDialog>([&](QFileDialog* files) {
            mode = files->fileMode();
            suffix = files->defaultSuffix();
            filters = files->nameFilters();
            files->reject();
        });
        dialog.action(57601)->trigger();
        QCOMPARE(mode, QFileDialog::ExistingFile);
        QCOMPARE(suffix, QStringLiteral("gvx"));
        QCOMPARE(filters, QStringList{QStringLiteral("Kelvo Files (*.gvx)")});
        QCOMPARE(QString::fromStdString(dialog.logic().filePath()), typed);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
