#include "commands/backup_list.h"

#include "commands/outcome.h"
#include "commands/platform/local_time.h"
#include "commands/settings_file.h"
#include "device/platform/utf8_path.h"
#include "resources/text_catalogue.h"
#include "settings/field_table.h"
#include "settings/settings_image.h"

#include <algorithm>

namespace {

bool differs(const FieldSpec& field, const SettingsImage& a, const SettingsImage& b) {
    return field.isSetting && storedValue(a, field) != storedValue(b, field);
}

std::string shownText(const FieldSpec& field, std::uint32_t value) {
    return localText(labelText(field, value));
}

} // namespace

BackupListing listBackups(const BackupStore& store, std::optional<unsigned> unitId,
                          const SettingsImage& shown, const LocalTimeText& timeText) {
    BackupListing listing;
    listing.folder = utf8Of(store.root());
    const BackupStore::Scan scan = store.scan(unitId);
    if (!scan.problem.empty()) {
        listing.state = BackupListing::State::Unreadable;
        listing.problem = scan.problem;
        return listing;
    }
    for (const BackupStore::Kept& kept : scan.backups) {
        BackupRow row{kept.file, kept.unitId, {}, std::nullopt};
        if (const auto when = BackupStore::timeOf(kept.file)) {
            row.localTime = timeText(*when);
        }
        SettingsImage backup;
        if (readRecordFile(backup, utf8Of(kept.file)) == noMessage) {
            row.differences = differenceCount(backup, shown);
        }
        listing.rows.push_back(std::move(row));
    }
    listing.state =
        listing.rows.empty() ? BackupListing::State::None : BackupListing::State::Listed;
    return listing;
}

BackupListing listBackups(const BackupStore& store, std::optional<unsigned> unitId,
                          const SettingsImage& shown) {
    return listBackups(store, unitId, shown, localDateTime);
}

std::vector<FieldDifference> fieldDifferences(const SettingsImage& backup,
                                              const SettingsImage& shown) {
    std::vector<FieldDifference> found;
    for (const FieldSpec& field : fieldTable()) {
        if (differs(field, backup, shown)) {
            found.push_back({field.label != nullptr ? localText(field.label) : field.key,
                             shownText(field, storedValue(backup, field)),
                             shownText(field, storedValue(shown, field))});
        }
    }
    return found;
}

std::size_t differenceCount(const SettingsImage& backup, const SettingsImage& shown) {
    const auto fields = fieldTable();
    return static_cast<std::size_t>(std::count_if(
        fields.begin(), fields.end(), [&](const auto& f) { return differs(f, backup, shown); }));
}
