#pragma once

#include "resources/string_table.h"

#include <string>
#include <string_view>

// The one catalogue of the interface's texts, for every face and the command line. The
// source texts, and the keys, are the Japanese; English stands beside each. Texts are
// UTF-8.

enum class Language { Japanese, English };

// The language of the process's interface; Japanese until chosen.
void setTextLanguage(Language language);
Language textLanguage();

// A text in the chosen language; one the catalogue lacks stands as it is.
std::string localText(std::string_view japanese);
// The English of a text; null when the catalogue lacks it.
const char* englishText(std::string_view japanese);
// A message of the string table in the chosen language.
std::string localMessage(int id);
// A message that names its subject (a device) in the place its language puts it.
std::string localMessage(int id, std::string_view subject);
// The overwrite question with the file's name in the place its language puts it.
std::string localOverwriteQuestion(std::string_view fileName);
