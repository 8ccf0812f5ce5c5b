#include "device/platform/utf8_arguments.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace {

std::string narrow(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.pop_back(); // the terminating zero
    return text;
}

} // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || count != argc) {
        if (wide != nullptr) {
            LocalFree(wide);
        }
        return {argv, argv + argc};
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(narrow(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}
