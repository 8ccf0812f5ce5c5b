#pragma once

#include "resources/text_catalogue.h"

#include <QString>
#include <QStringList>

#include <optional>

// The interface speaks Japanese, its source language, or English beside it; the texts
// come from the text catalogue.

// English for an English system locale, Japanese for every other one, C and POSIX
// included. The list is the system's UI languages, most preferred first.
Language languageForLocale(const QStringList& uiLanguages);
// "ja" or "en" as given to --lang; nothing for anything else.
std::optional<Language> languageNamed(const QString& name);

// Chooses the interface's language for the running application. Returns false when it
// cannot be used; the interface stays Japanese then.
bool useLanguage(Language language);
Language currentLanguage();

// A text of the interface in the current language; the source text is the Japanese.
QString uiText(const char* japanese);
