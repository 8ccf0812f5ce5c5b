#pragma once

#include "resources/interface_language.h"

#include <QString>
#include <QStringList>

#include <optional>

// English for an English system locale, Japanese for every other one, C and POSIX
// included. The list is the system's UI languages, most preferred first.
Language languageForLocale(const QStringList& uiLanguages);
// "ja" or "en" as given to --lang; nothing for anything else.
std::optional<Language> languageNamed(const QString& name);

// Loads the translation of the chosen language into the running application. Returns
// false when its translation cannot be loaded; the interface stays Japanese then.
bool useLanguage(Language language);
Language currentLanguage();

// A text of the interface in the current language; the source text is the Japanese.
QString uiText(const char* japanese);
// A message of the string table in the current language.
QString uiMessage(int messageId);
// A message that names its subject (a device) in the place its language puts it.
QString uiMessage(int messageId, const QString& subject);
// The overwrite question with the file's name in the place its language puts it.
QString overwriteQuestion(const QString& fileName);
