#include "device/platform/program_folder.h"

#include <string>
#include <windows.h>

std::filesystem::path programFolder() {
    // The name may be longer than MAX_PATH; the call says so by filling the buffer.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return ".";
        }
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}
