#include "win32/options.h"

#include <gtest/gtest.h>

namespace {

struct OptionsCase {
    std::vector<std::string> arguments;
    bool accepted;
    std::string driverLibrary;
    Language language;
};

TEST(Win32Options, ParsesTheOptionsOfTheLinuxProgram) {
    const std::filesystem::path folder = std::filesystem::path(u8"C:/Programs/ヴァーネル");
    const OptionsCase cases[] = {
        {{}, true, "", Language::Japanese},
        {{"--simulate"}, true, "C:/Programs/lib/varnel/varnel_sim.dll", Language::Japanese},
        {{"--driver", "D:/ドライバ/ftd2xx.dll"},
         true,
         "D:/ドライバ/ftd2xx.dll",
         Language::Japanese},
        {{"--driver=D:/x.dll", "--simulate"}, true, "D:/x.dll", Language::Japanese},
        {{"--lang", "en"}, true, "", Language::English},
        {{"--lang=ja"}, true, "", Language::Japanese},
        {{"--lang", "de"}, false, "", Language::Japanese},
        {{"--lang"}, false, "", Language::Japanese},
        {{"--driver"}, false, "", Language::Japanese},
        {{"--port", "COM3"}, false, "", Language::Japanese},
    };
    for (const OptionsCase& c : cases) {
        const ParsedOptions parsed = parseOptions(c.arguments, folder, Language::Japanese);
        SCOPED_TRACE(c.arguments.empty() ? std::string("(none)") : c.arguments.front());
        ASSERT_EQ(parsed.options.has_value(), c.accepted) << parsed.error;
        if (!c.accepted) {
            EXPECT_FALSE(parsed.error.empty());
            continue;
        }
        EXPECT_EQ(parsed.options->language, c.language);
        EXPECT_FALSE(parsed.options->port.serialFallback);
        EXPECT_EQ(
            std::filesystem::path(std::u8string(parsed.options->port.driverLibrary.begin(),
                                                parsed.options->port.driverLibrary.end())),
            std::filesystem::path(std::u8string(c.driverLibrary.begin(), c.driverLibrary.end())));
    }
}

TEST(Win32Options, FollowsTheUsersInterfaceLanguage) {
    EXPECT_EQ(languageForUiLanguage(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)),
              Language::Japanese);
    EXPECT_EQ(languageForUiLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
              Language::English);
    EXPECT_EQ(languageForUiLanguage(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), Language::English);
    EXPECT_EQ(parseOptions({}, ".", Language::English).options->language, Language::English);
}

} // namespace
