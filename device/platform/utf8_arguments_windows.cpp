#include "device/platform/utf8_arguments.h"

#include "device/platform/wide_text.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

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
