#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SettingsImage;

// Every record received from a unit is kept as a settings file, one folder per unit ID,
// named by UTC time, so that a unit can be put back as it was before a write.
class BackupStore {
public:
    static constexpr std::size_t keptPerUnit = 50;

    using Clock = std::function<std::chrono::system_clock::time_point()>;
    using Reporter = std::function<void(std::string_view)>;

    // root holds one folder per unit ID. Failures are told to report, never raised.
    BackupStore(std::filesystem::path root, Reporter report,
                Clock clock = std::chrono::system_clock::now);

    // $XDG_DATA_HOME/varnel/backups, or ~/.local/share/varnel/backups; none when
    // neither variable gives an absolute path.
    static std::optional<std::filesystem::path> defaultRoot();

    // Keeps the record unless it equals the unit's newest backup, then drops the oldest
    // beyond keptPerUnit. Returns whether a backup now holds the record.
    bool keep(const SettingsImage& received);

    // Newest first.
    std::vector<std::filesystem::path> backupsOf(unsigned unitId) const;
    // The unit IDs with backups, ascending.
    std::vector<unsigned> units() const;

    struct Kept {
        unsigned unitId;
        std::filesystem::path file;
    };
    struct Scan {
        // By unit ID ascending, newest first within a unit.
        std::vector<Kept> backups;
        // Set when a folder exists but cannot be read; backups is empty then, so that
        // nobody mistakes part of the store for all of it.
        std::string problem;
    };
    // The backups of one unit, or of every unit. No folder yet means no backups.
    Scan scan(std::optional<unsigned> unitId = std::nullopt) const;

    const std::filesystem::path& root() const { return folder; }

    // The UTC moment a backup's name gives; none for a name the store did not make.
    static std::optional<std::chrono::system_clock::time_point>
    timeOf(const std::filesystem::path& backup);

private:
    std::filesystem::path unitFolder(unsigned unitId) const;
    std::string freeName(const std::filesystem::path& unitFolder) const;
    void dropOldest(const std::filesystem::path& unitFolder);

    std::filesystem::path folder;
    Reporter report;
    Clock clock;
};
