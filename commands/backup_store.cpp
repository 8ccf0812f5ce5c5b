#include "commands/backup_store.h"

#include "commands/outcome.h"
#include "commands/platform/data_home.h"
#include "commands/settings_file.h"
#include "device/platform/utf8_path.h"
#include "settings/settings_image.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view extension = ".gvx";
// "20250102T030405.678Z.gvx": fixed width, so names sort as the times do.
constexpr std::size_t nameLength = 24;

bool isBackupName(const fs::path& path) {
    const std::string name = utf8Of(path.filename());
    return name.size() == nameLength && name.ends_with(extension) && name[8] == 'T' &&
           name[15] == '.' && name[19] == 'Z' &&
           std::all_of(name.begin(), name.begin() + 8, [](char c) { return c >= '0' && c <= '9'; });
}

std::string timeName(std::chrono::system_clock::time_point when) {
    // The calendar of <chrono>: gmtime_r is POSIX and gmtime is not thread-safe.
    using namespace std::chrono;
    const auto millisecondsSinceEpoch = time_point_cast<milliseconds>(when);
    const auto day = floor<days>(millisecondsSinceEpoch);
    const year_month_day date{day};
    const hh_mm_ss time{millisecondsSinceEpoch - day};
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), "%04d%02u%02uT%02d%02d%02d.%03dZ.gvx",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()),
                  static_cast<int>(time.subseconds().count()));
    return text.data();
}

std::vector<fs::path> sortedBackups(const fs::path& unitFolder, std::error_code& error) {
    std::vector<fs::path> found;
    for (fs::directory_iterator it(unitFolder, error), end; !error && it != end;
         it.increment(error)) {
        if (isBackupName(it->path())) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<fs::path> sortedBackups(const fs::path& unitFolder) {
    std::error_code ignored;
    return sortedBackups(unitFolder, ignored);
}

std::optional<unsigned> unitIdNamed(const fs::path& folder) {
    const std::string name = utf8Of(folder.filename());
    if (name.empty() || name.size() > 5 ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const auto id = static_cast<unsigned>(std::stoul(name));
    return id <= 0xFFFF ? std::optional(id) : std::nullopt;
}

std::string cannotRead(const fs::path& folder, const std::error_code& error) {
    return utf8Of(folder) + ": " + error.message();
}

bool holds(const fs::path& file, const SettingsImage& record) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> content((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    return std::equal(content.begin(), content.end(), record.raw().begin(), record.raw().end(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

} // namespace

std::optional<std::chrono::system_clock::time_point> BackupStore::timeOf(const fs::path& backup) {
    if (!isBackupName(backup)) {
        return std::nullopt;
    }
    const std::string name = utf8Of(backup.filename());
    const auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) {
            if (name[i] < '0' || name[i] > '9') {
                return -1;
            }
            value = value * 10 + (name[i] - '0');
        }
        return value;
    };
    using namespace std::chrono;
    const year_month_day date{year(number(0, 4)), month(static_cast<unsigned>(number(4, 2))),
                              day(static_cast<unsigned>(number(6, 2)))};
    const std::array fields{number(9, 2), number(11, 2), number(13, 2), number(16, 3)};
    const std::array limits{24, 60, 60, 1000};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] < 0 || fields[i] >= limits[i]) {
            return std::nullopt;
        }
    }
    if (!date.ok()) {
        return std::nullopt;
    }
    const sys_time<milliseconds> when = sys_days(date) + hours(fields[0]) + minutes(fields[1]) +
                                        seconds(fields[2]) + milliseconds(fields[3]);
    // The clock counts in nanoseconds, which reach only some centuries either side of
    // 1970; a name beyond that is no time this program wrote.
    if (when < time_point_cast<milliseconds>(system_clock::time_point::min()) ||
        when > time_point_cast<milliseconds>(system_clock::time_point::max())) {
        return std::nullopt;
    }
    return time_point_cast<system_clock::duration>(when);
}

BackupStore::BackupStore(fs::path root, Reporter report, Clock clock)
    : folder(std::move(root)), report(std::move(report)), clock(std::move(clock)) {}

std::optional<fs::path> BackupStore::defaultRoot() {
    if (const auto dataHome = userDataHome()) {
        return *dataHome / "varnel" / "backups";
    }
    return std::nullopt;
}

fs::path BackupStore::unitFolder(unsigned unitId) const {
    return folder / std::to_string(unitId);
}

std::string BackupStore::freeName(const fs::path& unitFolder) const {
    // Two records within one millisecond: the later takes the next free millisecond,
    // so that the names keep the order in which the records came.
    auto when = clock();
    std::string name = timeName(when);
    const std::vector<fs::path> existing = sortedBackups(unitFolder);
    while (!existing.empty() && name <= utf8Of(existing.back().filename())) {
        when += std::chrono::milliseconds(1);
        name = timeName(when);
    }
    return name;
}

bool BackupStore::keep(const SettingsImage& received) {
    const fs::path target = unitFolder(received.unitId());
    std::error_code error;
    fs::create_directories(target, error);
    if (error) {
        report("cannot keep a backup in " + utf8Of(target) + ": " + error.message());
        return false;
    }
    const std::vector<fs::path> existing = sortedBackups(target);
    if (!existing.empty() && holds(existing.back(), received)) {
        return true;
    }
    const fs::path file = target / freeName(target);
    if (saveSettingsFile(received, utf8Of(file)) != noMessage) {
        report("cannot write the backup " + utf8Of(file));
        return false;
    }
    dropOldest(target);
    return true;
}

void BackupStore::dropOldest(const fs::path& unitFolder) {
    std::vector<fs::path> existing = sortedBackups(unitFolder);
    if (existing.size() <= keptPerUnit) {
        return;
    }
    existing.resize(existing.size() - keptPerUnit);
    for (const fs::path& old : existing) {
        std::error_code error;
        if (!fs::remove(old, error) && error) {
            report("cannot remove the old backup " + utf8Of(old) + ": " + error.message());
        }
    }
}

std::vector<fs::path> BackupStore::backupsOf(unsigned unitId) const {
    std::vector<fs::path> found = sortedBackups(unitFolder(unitId));
    std::reverse(found.begin(), found.end());
    return found;
}

std::vector<unsigned> BackupStore::units() const {
    std::vector<unsigned> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const auto id = unitIdNamed(it->path());
        if (id && !sortedBackups(it->path()).empty()) {
            found.push_back(*id);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

BackupStore::Scan BackupStore::scan(std::optional<unsigned> unitId) const {
    std::error_code error;
    if (!fs::exists(folder, error)) {
        return {{}, error ? cannotRead(folder, error) : std::string()};
    }
    std::vector<unsigned> ids;
    if (unitId) {
        ids.push_back(*unitId);
    } else {
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (const auto id = unitIdNamed(it->path())) {
                ids.push_back(*id);
            }
        }
        if (error) {
            return {{}, cannotRead(folder, error)};
        }
        std::sort(ids.begin(), ids.end());
    }
    Scan result;
    for (const unsigned id : ids) {
        const fs::path unit = unitFolder(id);
        if (!fs::exists(unit, error) && !error) {
            continue;
        }
        std::vector<fs::path> files = sortedBackups(unit, error);
        if (error) {
            return {{}, cannotRead(unit, error)};
        }
        std::for_each(files.rbegin(), files.rend(), [&](const fs::path& file) {
            result.backups.push_back({id, file});
        });
    }
    return result;
}
