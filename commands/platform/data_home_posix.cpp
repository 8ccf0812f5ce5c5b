#include "commands/platform/data_home.h"

#include <cstdlib>

std::optional<std::filesystem::path> userDataHome() {
    namespace fs = std::filesystem;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && fs::path(dataHome).is_absolute()) {
        return fs::path(dataHome);
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && fs::path(home).is_absolute()) {
        return fs::path(home) / ".local" / "share";
    }
    return std::nullopt;
}
