#pragma once

#include "commands/backup_list.h"
#include "settings/settings_image.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The texts of the backup list, in the interface's source language; the text catalogue
// holds their English. Faces show them through the catalogue.
namespace backup_text {
inline constexpr const char* menuItem = "バックアップを開く(&B)...";
inline constexpr const char* title = "バックアップを開く";
inline constexpr const char* listLabel = "バックアップ(&L):";
inline constexpr const char* timeColumn = "日時";
inline constexpr const char* unitColumn = "ID";
inline constexpr const char* countColumn = "違う項目";
inline constexpr const char* differencesLabel = "現在の値との違い(&D):";
inline constexpr const char* fieldColumn = "項目";
inline constexpr const char* backupColumn = "バックアップ";
inline constexpr const char* shownColumn = "現在の値";
inline constexpr const char* openButton = "開く(&O)";
inline constexpr const char* cancelButton = "キャンセル";
inline constexpr const char* unitGroup = "ID %1";
inline constexpr const char* notARecord = "読めません";
inline constexpr const char* noDifferences = "違いはありません";
inline constexpr const char* none = "バックアップはありません。バックアップの保存先: %1";
inline constexpr const char* unreadable = "バックアップのフォルダーを読み込めません: %1";
// Neither the environment nor the system names a folder for the user's data.
inline constexpr const char* noFolder = "バックアップの保存先がありません";
} // namespace backup_text

// The backup list as a face shows it, every text ready in the interface language.
struct BackupChoice {
    struct Row {
        unsigned unitId = 0;
        std::string time;  // local date and time
        std::string unit;  // the unit ID
        std::string count; // how many settings differ from the shown ones
    };
    // Grouped by unit ID, ascending; newest first within a unit.
    std::vector<Row> rows;
    // Set when there are no rows: that there are none, and where they are kept.
    std::string emptyText;
    // The differences of a row, field by field; none when its file is not a record.
    std::function<std::optional<std::vector<FieldDifference>>(std::size_t row)> differencesOf;
};

// The choice over a listing that is not Unreadable, against the shown record, in the
// interface's language.
BackupChoice backupChoice(const BackupListing& listing, const SettingsImage& shown);

// A text of the list in the interface's language, with "%1" replaced by subject.
std::string backupText(const char* japanese, const std::string& subject = {});
