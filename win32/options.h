#pragma once

#include "commands/connect.h"
#include "resources/text_catalogue.h"

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the command line asks for, as on Linux: --driver PATH (another D2XX library),
// --simulate (varnel_sim.dll beside the program), --lang ja|en.
struct LaunchOptions {
    PortChoice port;
    Language language = Language::Japanese;
};

struct ParsedOptions {
    std::optional<LaunchOptions> options; // empty when `error` says what is wrong
    std::string error;
};

// `arguments` without the program's name; `programDir` is where --simulate looks;
// `defaultLanguage` applies without --lang.
ParsedOptions parseOptions(const std::vector<std::string>& arguments,
                           const std::filesystem::path& programDir, Language defaultLanguage);

// Japanese for a Japanese user interface language, English for every other.
Language languageForUiLanguage(LANGID uiLanguage);
Language userLanguage();
