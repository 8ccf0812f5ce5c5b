#include "language.h"

#include "resources/string_table.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Every text of the interface shares one translation context.
constexpr const char* context = "Varnel";

Language chosen = Language::Japanese;

QTranslator& translator() {
    static QTranslator english;
    return english;
}

// Qt's own texts: the message boxes' buttons and the file dialog.
QTranslator& qtTranslator() {
    static QTranslator catalogue;
    return catalogue;
}

// Qt's catalogue for the language; without it Qt's texts stay English, as Qt writes
// them, and nothing else changes.
void useQtCatalogue(const QLocale& locale) {
    if (qtTranslator().load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTranslator());
    }
}

} // namespace

Language languageForLocale(const QStringList& uiLanguages) {
    if (uiLanguages.isEmpty()) {
        return Language::Japanese;
    }
    const QString& first = uiLanguages.constFirst();
    return first == QLatin1String("en") || first.startsWith(QLatin1String("en-")) ||
                   first.startsWith(QLatin1String("en_"))
               ? Language::English
               : Language::Japanese;
}

std::optional<Language> languageNamed(const QString& name) {
    if (name == QLatin1String("ja")) {
        return Language::Japanese;
    }
    if (name == QLatin1String("en")) {
        return Language::English;
    }
    return std::nullopt;
}

bool useLanguage(Language language) {
    QCoreApplication::removeTranslator(&translator());
    QCoreApplication::removeTranslator(&qtTranslator());
    chosen = Language::Japanese;
    if (language == Language::Japanese) {
        useQtCatalogue(QLocale(QLocale::Japanese, QLocale::Japan));
        return true;
    }
    if (!translator().load(QStringLiteral(":/i18n/varnel_en.qm")) ||
        !QCoreApplication::installTranslator(&translator())) {
        return false;
    }
    chosen = language;
    return true;
}

Language currentLanguage() {
    return chosen;
}

QString uiText(const char* japanese) {
    return QCoreApplication::translate(context, japanese);
}

QString uiMessage(int messageId) {
    return uiText(messageText(messageId));
}

QString uiMessage(int messageId, const QString& subject) {
    const QString text = uiMessage(messageId);
    return text.contains(QLatin1String("%1")) ? text.arg(subject) : text;
}

QString overwriteQuestion(const QString& fileName) {
    // One text with a place for the name, so that each language can put it where its
    // grammar wants it; in Japanese it reads exactly as the two messages joined.
    const QByteArray source = QByteArray(messageText(msg::overwritePrefix)) + "%1" +
                              QByteArray(messageText(msg::overwriteSuffix));
    return uiText(source.constData()).arg(fileName);
}
