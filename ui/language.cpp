#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

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
    // The program's own texts come from the catalogue; Qt's from Qt's.
    QCoreApplication::removeTranslator(&qtTranslator());
    setTextLanguage(language);
    if (language == Language::Japanese) {
        useQtCatalogue(QLocale(QLocale::Japanese, QLocale::Japan));
    }
    return true;
}

Language currentLanguage() {
    return textLanguage();
}

QString uiText(const char* japanese) {
    return QString::fromStdString(localText(japanese));
}
