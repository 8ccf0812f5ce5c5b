#include "options.h"

#include "device/platform/utf8_path.h"
#include "device/simulated_driver.h"

#include <string_view>

namespace {

std::optional<Language> languageNamed(std::string_view name) {
    if (name == "ja") {
        return Language::Japanese;
    }
    if (name == "en") {
        return Language::English;
    }
    return std::nullopt;
}

// "--name VALUE" or "--name=VALUE"; advances `at` past what it takes.
std::optional<std::string> valueOf(std::string_view name, const std::vector<std::string>& arguments,
                                   std::size_t& at) {
    const std::string_view argument = arguments[at];
    if (argument == name) {
        if (at + 1 >= arguments.size()) {
            return std::nullopt;
        }
        return arguments[++at];
    }
    return std::string(argument.substr(name.size() + 1));
}

bool names(std::string_view argument, std::string_view name) {
    return argument == name ||
           (argument.size() > name.size() && argument.substr(0, name.size()) == name &&
            argument[name.size()] == '=');
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments,
                           const std::filesystem::path& programDir, Language defaultLanguage) {
    LaunchOptions options;
    options.language = defaultLanguage;
    std::optional<std::string> driver;
    bool simulate = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--simulate") {
            simulate = true;
        } else if (names(argument, "--driver")) {
            driver = valueOf("--driver", arguments, at);
            if (!driver || driver->empty()) {
                return {std::nullopt, "--driver needs the path of a D2XX library"};
            }
        } else if (names(argument, "--lang")) {
            const std::optional<std::string> name = valueOf("--lang", arguments, at);
            const std::optional<Language> language = name ? languageNamed(*name) : std::nullopt;
            if (!language) {
                return {std::nullopt,
                        "unknown language \"" + name.value_or("") + "\"; use ja or en"};
            }
            options.language = *language;
        } else {
            return {std::nullopt, "unknown option \"" + argument +
                                      "\"; the options are --driver PATH, --simulate and "
                                      "--lang ja|en"};
        }
    }
    // A library named on the command line is the one way to the adapter.
    options.port.serialFallback = false;
    if (driver) {
        options.port.driverLibrary = *driver;
    } else if (simulate) {
        options.port.driverLibrary = utf8Of(simulatedDriverPath(programDir));
    }
    return {options, {}};
}

Language languageForUiLanguage(LANGID uiLanguage) {
    return PRIMARYLANGID(uiLanguage) == LANG_JAPANESE ? Language::Japanese : Language::English;
}

Language userLanguage() {
    return languageForUiLanguage(GetUserDefaultUILanguage());
}
