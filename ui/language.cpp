#include "language.h"

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
    setTextLanguage(language);
    return true;
}

Language currentLanguage() {
    return textLanguage();
}

QString uiText(const char* japanese) {
    return QString::fromStdString(localText(japanese));
}
