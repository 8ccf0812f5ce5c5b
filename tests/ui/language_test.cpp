// English beside Japanese: the choice of language, a finished translation for every
// text the user reads, and the dialog in English.

#include "dialog_harness.h"

#include "dialog/control_table.h"
#include "ui/language.h"

#include <QAction>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QTest>

namespace {

// Texts the dialog shows that live outside the tables.
const char* const looseTexts[] = {
    "Version information Varnel",
    "Kelvo governor settings",
    "Kelvo Files (*.gvx)",
    "Enter a positive integer.",
    "Enter an integer.",
    "Enter an integer between 0 and 65535.",
    "ファイル %1 は既に存在します。上書きしますか?",
};

QStringList sourceTexts() {
    QStringList texts;
    for (const ControlRow& row : controlTable()) {
        for (const char* text : {row.text, row.accessibleName}) {
            if (text) {
                texts.append(QString::fromUtf8(text));
            }
        }
    }
    for (const MenuEntry& entry : menuTable()) {
        for (const char* text : {entry.menu, entry.text}) {
            if (text) {
                texts.append(QString::fromUtf8(text));
            }
        }
    }
    for (int id = 0; id < 3000; ++id) {
        if (*messageText(id) != '\0') {
            texts.append(QString::fromUtf8(messageText(id)));
        }
    }
    for (const char* text : looseTexts) {
        texts.append(QString::fromUtf8(text));
    }
    return texts;
}

bool hasJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x3000 && c.unicode() <= 0x30FF) ||
               (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) || c.unicode() >= 0xFF00;
    });
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void init() { simReset(); }
    void cleanup() { useLanguage(Language::Japanese); }

    void languageComesFromTheSystemLocale_data() {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<bool>("english");
        QTest::newRow("en-US") << QStringList{"en-US", "en"} << true;
        QTest::newRow("en") << QStringList{"en"} << true;
        QTest::newRow("en-GB before ja") << QStringList{"en-GB", "ja-JP"} << true;
        QTest::newRow("ja-JP") << QStringList{"ja-JP"} << false;
        QTest::newRow("de-DE") << QStringList{"de-DE", "en"} << false;
        QTest::newRow("C") << QStringList{"C"} << false;
        QTest::newRow("none") << QStringList{} << false;
    }

    void languageComesFromTheSystemLocale() {
        QFETCH(QStringList, uiLanguages);
        QFETCH(bool, english);
        QCOMPARE(languageForLocale(uiLanguages) == Language::English, english);
    }

    void langOptionNamesTheLanguage() {
        QCOMPARE(languageNamed(QStringLiteral("en")), std::optional(Language::English));
        QCOMPARE(languageNamed(QStringLiteral("ja")), std::optional(Language::Japanese));
        QCOMPARE(languageNamed(QStringLiteral("fr")), std::nullopt);
        QProcess program;
        program.start(QStringLiteral(VARNEL_PROGRAM_PATH),
                      {QStringLiteral("--lang"), QStringLiteral("fr")});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains("use ja or en"));
    }

    // --list-ports prints what varnel-cli ports prints, and says so when nothing is found.
    void listPortsAsTheCommandLineDoes() {
        struct Case {
            const char* fault;
            int status;
            const char* out;
            const char* err;
        };
        for (const Case& c :
             {Case{"", 0, "d2xx:0 ", ""}, Case{"no_adapter", 2, "", "no QB-7 adapter found"}}) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("VARNEL_SIM_FAULT"), QString::fromUtf8(c.fault));
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(VARNEL_PROGRAM_PATH),
                          {QStringLiteral("--simulate"), QStringLiteral("--list-ports")});
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitCode(), c.status);
            const QByteArray out = program.readAllStandardOutput();
            QVERIFY2(c.status == 0 ? out.startsWith(c.out) : out.isEmpty(), out.constData());
            QVERIFY(program.readAllStandardError().contains(c.err));
        }
    }

    // Qt's own buttons speak the dialog's language, as a Japanese desktop shows them.
    void messageBoxButtonsSpeakTheLanguage() {
        struct Case {
            Language language;
            const char* yes;
            const char* no;
            const char* ok;
        };
        for (const Case& c : {Case{Language::Japanese, "はい", "いいえ", "OK"},
                              Case{Language::English, "Yes", "No", "OK"}}) {
            QVERIFY(useLanguage(c.language));
            QMessageBox box(QMessageBox::Question, QStringLiteral("Varnel"), QString(),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
            const auto shown = [&](QMessageBox::StandardButton which) {
                return box.button(which)->text().remove(QLatin1Char('&'));
            };
            QVERIFY2(shown(QMessageBox::Yes).startsWith(QString::fromUtf8(c.yes)),
                     qPrintable(shown(QMessageBox::Yes)));
            QVERIFY2(shown(QMessageBox::No).startsWith(QString::fromUtf8(c.no)),
                     qPrintable(shown(QMessageBox::No)));
            QVERIFY2(shown(QMessageBox::Ok).startsWith(QString::fromUtf8(c.ok)),
                     qPrintable(shown(QMessageBox::Ok)));
        }
    }

    // Every text has its English, and English with no Japanese left in it.
    void everyTextHasAFinishedEnglishTranslation() {
        for (const QString& source : sourceTexts()) {
            // Texts without Japanese (unit names, "ACT", the version label) may stand as
            // they are.
            if (!hasJapanese(source)) {
                continue;
            }
            const char* english = englishText(source.toStdString());
            QVERIFY2(english, qPrintable("no English for " + source));
            const QString translated = QString::fromUtf8(english);
            QVERIFY2(!hasJapanese(translated), qPrintable(source + " -> " + translated));
        }
        QVERIFY(useLanguage(Language::English));
        QCOMPARE(QString::fromStdString(localOverwriteQuestion("heli.gvx")),
                 QStringLiteral("The file heli.gvx already exists. Overwrite it?"));
        useLanguage(Language::Japanese);
        QCOMPARE(QString::fromStdString(localOverwriteQuestion("heli.gvx")),
                 message(109) + QStringLiteral("heli.gvx") + message(110));
    }

    // The menu, a message box and the Read path, in English.
    void dialogSpeaksEnglish() {
        QVERIFY(useLanguage(Language::English));
        DialogHarness dialog;
        QStringList menus;
        for (QAction* menu : dialog->findChild<QMenuBar*>()->actions()) {
            menus.append(menu->text());
        }
        QCOMPARE(menus, (QStringList{"&File", "&Connection", "&Help"}));
        QCOMPARE(dialog->action(57601)->text(), QStringLiteral("&Open...\tCtrl+O"));
        QCOMPARE(dialog.at<QAbstractButton>(1059)->text(), QStringLiteral("Read"));
        QCOMPARE(dialog.at<QLineEdit>(1053)->text(), QStringLiteral("High"));

        dialog->action(57600)->trigger();
        QCOMPARE(dialog.prompter.texts(),
                 QStringList{QStringLiteral("Reset the settings to the factory values?")});
        dialog.at<QAbstractButton>(1059)->click();
        QCOMPARE(dialog.prompter.texts().last(), QStringLiteral("Connection succeeded."));
        QVERIFY(dialog->logic().unitRead());
        QVERIFY(dialog.at(1060)->isEnabled());
    }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
