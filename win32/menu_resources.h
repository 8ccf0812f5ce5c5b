#pragma once

#include <windows.h>

#include <vector>

// The menu bar and the accelerator table, built from the menu table in the interface's
// language. The accelerators are the entries' "Ctrl+<letter>" shortcuts.
HMENU buildMenuBar();
std::vector<ACCEL> acceleratorEntries();
HACCEL buildAccelerators();

// The system menu's version item, which opens the same box as Help > About.
inline constexpr UINT systemAboutCommand = 16;
void addVersionItem(HWND window);
