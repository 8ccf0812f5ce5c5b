#include "commands/platform/data_home.h"

#include <cstdlib>

std::optional<std::filesystem::path> userDataHome() {
    // The wide environment: the narrow one passes through the system's code page.
    const wchar_t* localAppData = _wgetenv(L"LOCALAPPDATA");
    if (localAppData != nullptr && std::filesystem::path(localAppData).is_absolute()) {
        return std::filesystem::path(localAppData);
    }
    return std::nullopt;
}
