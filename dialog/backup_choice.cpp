#include "dialog/backup_choice.h"

#include "commands/outcome.h"
#include "commands/settings_file.h"
#include "device/platform/utf8_path.h"
#include "resources/text_catalogue.h"

#include <memory>

std::string backupText(const char* japanese, const std::string& subject) {
    std::string text = localText(japanese);
    if (const auto at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, subject);
    }
    return text;
}

BackupChoice backupChoice(const BackupListing& listing, const SettingsImage& shown) {
    BackupChoice choice;
    auto files = std::make_shared<std::vector<std::filesystem::path>>();
    for (const BackupRow& row : listing.rows) {
        choice.rows.push_back({row.unitId, row.localTime, std::to_string(row.unitId),
                               row.differences ? std::to_string(*row.differences)
                                               : backupText(backup_text::notARecord)});
        files->push_back(row.file);
    }
    if (choice.rows.empty()) {
        choice.emptyText = backupText(backup_text::none, listing.folder);
    }
    // The file is read again when its row is chosen: what the user sees is what it holds.
    choice.differencesOf = [files,
                            shown](std::size_t row) -> std::optional<std::vector<FieldDifference>> {
        SettingsImage backup;
        if (row >= files->size() || readRecordFile(backup, utf8Of(files->at(row))) != noMessage) {
            return std::nullopt;
        }
        return fieldDifferences(backup, shown);
    };
    return choice;
}
