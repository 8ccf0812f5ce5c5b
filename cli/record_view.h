#pragma once

// Records as people and scripts see them: a listing of every field, JSON both ways,
// field-by-field differences and edits typed in display units. All of it reads the
// field table.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

class SettingsImage;

// One line per field: key, value, unit, range.
std::string recordText(const SettingsImage& image);

// Every field by key, with the record's 85 bytes as hex so that nothing is lost. A
// value is a number, a flag's a boolean, a choice's its name; a range is its bounds
// ("min", "max") and its named choices ("choices").
nlohmann::json recordJson(const SettingsImage& image);
// The reverse of recordJson: the raw bytes, then every field whose value differs from
// what they hold, range-checked. Raises CliError naming the first problem.
SettingsImage recordFromJson(const nlohmann::json& document);

struct FieldDifference {
    std::string key; // a field key, or "byte N" for bits no field covers
    std::string before;
    std::string after;
    std::string unit;
};
// The settings that differ (bytes 6 to 83, the span a write sends and verifies); the
// unit ID and the reply's checksum word are not settings.
std::vector<FieldDifference> differences(const SettingsImage& a, const SettingsImage& b);
std::string differenceText(const std::vector<FieldDifference>& list);
nlohmann::json differenceJson(const std::vector<FieldDifference>& list);

// Applies "key=value" edits in display units. Every edit is checked before any is
// applied: on a CliError the image is unchanged.
void applyAssignments(SettingsImage& image, const std::vector<std::string>& assignments);
