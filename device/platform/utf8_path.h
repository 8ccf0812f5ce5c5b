#pragma once

#include <filesystem>
#include <string>

// File names are UTF-8 throughout the program. std::filesystem::path converts narrow
// strings through the system's code page on Windows, which mangles any name outside it
// (a Japanese folder on a western system); these go through char8_t instead, which is
// UTF-8 everywhere.
inline std::filesystem::path pathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
