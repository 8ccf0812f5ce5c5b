#pragma once

#include "dialog/backup_choice.h"

#include <windows.h>

#include <cstddef>
#include <optional>

// The list of backups as a native dialog: a list view of the rows, grouped by unit, a
// list view of the selected row's differences, Open and Cancel.

namespace backup_list {
inline constexpr int rows = 101;
inline constexpr int differences = 102;
inline constexpr int note = 103; // where the backups are kept, when there are none
} // namespace backup_list

struct BackupListState {
    const BackupChoice* choice = nullptr;
    std::optional<std::size_t> chosen; // the row Open took
    bool ended = false;
    bool modeless = false;
};

// Modal: returns the row Open took, none after Cancel.
std::optional<std::size_t> chooseBackupNatively(HWND owner, const BackupChoice& choice);

// The same dialog modeless, for tests that drive it by messages; state outlives it.
// Open and Cancel then set state.ended and destroy the window.
HWND createBackupList(HWND owner, BackupListState& state);
