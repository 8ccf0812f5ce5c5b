#pragma once

#include <span>

// The main dialog's menus as data, in menu order; texts as in the control table.

struct MenuEntry {
    const char* menu; // set on the first entry of each menu only
    const char* text; // nullptr for a separator
    int commandId;
    const char* shortcut; // nullptr for none
};

namespace command {
inline constexpr int initialize = 57600;
inline constexpr int open = 57601;
inline constexpr int openBackup = 32773;
inline constexpr int save = 57603;
inline constexpr int saveAs = 57604;
inline constexpr int exit = 57665;
inline constexpr int read = 32771;
inline constexpr int write = 32772;
inline constexpr int about = 57664;
} // namespace command

std::span<const MenuEntry> menuTable();
