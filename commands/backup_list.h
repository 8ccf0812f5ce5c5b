#pragma once

// What the backup browser shows, without any window: the kept records as rows against
// the values the dialog shows now, and a row's differences field by field.

#include "commands/backup_store.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class SettingsImage;

struct BackupRow {
    std::filesystem::path file;
    unsigned unitId = 0;
    std::string localTime; // "2025-01-02 12:04:05"
    // How many settings differ from the shown ones; none when the file is not a
    // record of this model (it is listed so that Open can say why it is refused).
    std::optional<std::size_t> differences;
};

struct BackupListing {
    enum class State { Listed, None, Unreadable };
    State state = State::None;
    // By unit ID ascending, newest first within a unit.
    std::vector<BackupRow> rows;
    std::string folder;  // where the backups are kept, UTF-8
    std::string problem; // for Unreadable: which folder, and why
};

using LocalTimeText = std::function<std::string(std::chrono::system_clock::time_point)>;

// The backups of one unit, or of every unit, each against shown: the record the
// dialog's values make now.
BackupListing listBackups(const BackupStore& store, std::optional<unsigned> unitId,
                          const SettingsImage& shown, const LocalTimeText& timeText);
BackupListing listBackups(const BackupStore& store, std::optional<unsigned> unitId,
                          const SettingsImage& shown);

struct FieldDifference {
    std::string name;
    std::string backupValue; // in display units: "2000 rpm", "8.00 t", "ACT"
    std::string shownValue;
};

// The settings a load of the backup would change, in the field table's order, named in
// the interface's language. The header is identity, not a setting, and a load leaves
// it alone, so it never counts.
std::vector<FieldDifference> fieldDifferences(const SettingsImage& backup,
                                              const SettingsImage& shown);
std::size_t differenceCount(const SettingsImage& backup, const SettingsImage& shown);
