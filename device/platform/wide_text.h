#pragma once

#include <string>

// The program keeps text and file names in UTF-8; the Windows API takes UTF-16.
// Windows only. Returns an empty string for text that is not valid UTF-8.
std::wstring widen(const std::string& utf8);
// From the Windows API's UTF-16 back to UTF-8.
std::string narrow(const std::wstring& wide);
