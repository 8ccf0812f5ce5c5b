#pragma once

#include <windows.h>

#include <string>

// The version box: the program's name and version and the port in use, closed by OK or
// Escape. Modal over `owner`.
void showVersionBox(HWND owner, const std::string& portName);

// The caption the box carries, for finding it.
std::wstring versionBoxCaption();
