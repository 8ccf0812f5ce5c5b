#include "record_view.h"

#include "cli_error.h"

#include "settings/factory_defaults.h"
#include "settings/field_table.h"
#include "settings/settings_image.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iomanip>
#include <sstream>

using nlohmann::json;

namespace {

std::string hexByte(std::uint8_t value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%02x", value);
    return text.data();
}

std::string hexOf(const SettingsImage& image) {
    std::string text;
    for (const std::uint8_t byte : image.raw()) {
        text += hexByte(byte);
    }
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

SettingsImage imageFromHex(const std::string& text) {
    if (text.size() != SettingsImage::size * 2) {
        throw CliError("\"raw\" must hold 85 bytes as 170 hex digits");
    }
    SettingsImage image;
    for (std::size_t i = 0; i < SettingsImage::size; ++i) {
        const int high = hexDigit(text[2 * i]);
        const int low = hexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            throw CliError("\"raw\" holds something other than hex digits");
        }
        image.raw()[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    if (image.modelCode() != SettingsImage::kelvoModelCode) {
        throw CliError("\"raw\" is a record of another model");
    }
    return image;
}

bool allDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A number as shown ("2000", "8.00") as a JSON number.
json numberJson(const FieldSpec& field, const std::string& text) {
    if (field.display == FieldDisplay::GearRatio) {
        return std::stod(text);
    }
    return std::stoul(text);
}

// What a script expects: numbers as numbers, a flag as a boolean, a choice by its name;
// a choice numbered as shown (channel 3) is that number.
json jsonValue(const FieldSpec& field, std::uint32_t value) {
    const std::string text = displayText(field, value);
    switch (field.kind) {
    case FieldKind::Number:
        return numberJson(field, text);
    case FieldKind::Flag:
        if (value <= 1) {
            return value == 1;
        }
        break;
    case FieldKind::Choice:
        break;
    }
    return allDigits(text) ? json(std::stoul(text)) : json(text);
}

// A number's bounds; a choice's names, with a run of numbered ones (channels 1..16) as
// bounds beside the named ones.
json jsonRange(const FieldSpec& field) {
    switch (field.kind) {
    case FieldKind::Number: {
        const auto [low, high] = numberBounds(field);
        return {{"min", numberJson(field, low)}, {"max", numberJson(field, high)}};
    }
    case FieldKind::Flag:
        return {{"choices", {false, true}}};
    case FieldKind::Choice:
        break;
    }
    json range = json::object();
    json names = json::array();
    for (const FieldChoice& choice : field.choices) {
        const std::string name = choice.name;
        if (!allDigits(name)) {
            names.push_back(name);
            continue;
        }
        const unsigned long number = std::stoul(name);
        if (!range.contains("min") || number < range["min"].get<unsigned long>()) {
            range["min"] = number;
        }
        if (!range.contains("max") || number > range["max"].get<unsigned long>()) {
            range["max"] = number;
        }
    }
    range["choices"] = names;
    return range;
}

std::string textOfJson(const FieldSpec& field, const json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_boolean() && field.kind == FieldKind::Flag) {
        return displayText(field, value.get<bool>() ? 1 : 0);
    }
    if (value.is_number_integer()) {
        return value.dump();
    }
    if (value.is_number_float()) {
        std::ostringstream text;
        text << std::setprecision(17) << value.get<double>();
        return text.str();
    }
    throw CliError(std::string("field ") + field.key +
                   " must be a number, a name, or true or false for a flag");
}

void applyOne(SettingsImage& image, const FieldSpec& field, const std::string& text) {
    const ParsedValue parsed = parseDisplayText(field, text);
    if (!parsed.value) {
        throw CliError(parsed.problem);
    }
    storeValue(image, field, *parsed.value);
}

const FieldSpec& knownField(const std::string& key) {
    const FieldSpec* field = findField(key);
    if (field == nullptr) {
        throw CliError("unknown key: " + key + " (\"varnel-cli show FILE\" lists the keys)");
    }
    return *field;
}

} // namespace

std::string recordText(const SettingsImage& image) {
    std::ostringstream text;
    for (const FieldSpec& field : fieldTable()) {
        const std::string value = displayText(field, storedValue(image, field));
        text << std::left << std::setw(30) << field.key << ' ' << std::setw(10) << value << ' '
             << std::setw(4) << unitText(field);
        if (field.isSetting) {
            text << ' ' << rangeText(field);
        }
        text << '\n';
    }
    return text.str();
}

json recordJson(const SettingsImage& image) {
    json fields = json::object();
    for (const FieldSpec& field : fieldTable()) {
        json entry = {{"value", jsonValue(field, storedValue(image, field))},
                      {"unit", unitText(field)}};
        if (field.isSetting) {
            entry["range"] = jsonRange(field);
        }
        fields[field.key] = entry;
    }
    return {{"raw", hexOf(image)}, {"fields", fields}};
}

SettingsImage recordFromJson(const json& document) {
    if (!document.is_object()) {
        throw CliError("expected a JSON object as \"varnel-cli show --json\" writes it");
    }
    SettingsImage image;
    if (document.contains("raw")) {
        if (!document["raw"].is_string()) {
            throw CliError("\"raw\" must be a string of hex digits");
        }
        image = imageFromHex(document["raw"].get<std::string>());
    } else {
        applyFactoryDefaults(image);
    }
    if (!document.contains("fields")) {
        return image;
    }
    if (!document["fields"].is_object()) {
        throw CliError("\"fields\" must be an object of keys and values");
    }
    // Fields that still say what the raw bytes hold are left alone, so values that no
    // edit could produce (a unit's 5000 rpm) survive byte for byte.
    const SettingsImage base = image;
    for (const auto& [key, entry] : document["fields"].items()) {
        const FieldSpec& field = knownField(key);
        const json& value = entry.is_object() && entry.contains("value") ? entry["value"] : entry;
        const std::string text = textOfJson(field, value);
        const std::uint32_t held = storedValue(base, field);
        if (text == displayText(field, held) || textOfJson(field, jsonValue(field, held)) == text) {
            continue;
        }
        applyOne(image, field, text);
    }
    return image;
}

std::vector<FieldDifference> differences(const SettingsImage& a, const SettingsImage& b) {
    std::vector<FieldDifference> list;
    for (const FieldSpec& field : fieldTable()) {
        const std::uint32_t before = storedValue(a, field);
        const std::uint32_t after = storedValue(b, field);
        if (!field.isSetting || before == after) {
            continue;
        }
        std::string beforeText = displayText(field, before);
        std::string afterText = displayText(field, after);
        // Two servo positions can share a display value; the stored ones tell them apart.
        if (beforeText == afterText) {
            beforeText += " (" + std::to_string(before) + ")";
            afterText += " (" + std::to_string(after) + ")";
        }
        list.push_back({field.key, beforeText, afterText, unitText(field)});
    }
    for (std::size_t offset = SettingsImage::verifyFirst; offset <= SettingsImage::verifyLast;
         ++offset) {
        const std::uint8_t mask = uncoveredBits(offset);
        const auto before = static_cast<std::uint8_t>(a.raw()[offset] & mask);
        const auto after = static_cast<std::uint8_t>(b.raw()[offset] & mask);
        if (before != after) {
            list.push_back({"byte " + std::to_string(offset), "0x" + hexByte(before),
                            "0x" + hexByte(after), mask == 0xFF ? "" : "bits 0x" + hexByte(mask)});
        }
    }
    return list;
}

std::string differenceText(const std::vector<FieldDifference>& list) {
    std::ostringstream text;
    for (const FieldDifference& d : list) {
        text << std::left << std::setw(30) << d.key << ' ' << d.before << " -> " << d.after;
        if (!d.unit.empty()) {
            text << ' ' << d.unit;
        }
        text << '\n';
    }
    return text.str();
}

json differenceJson(const std::vector<FieldDifference>& list) {
    json array = json::array();
    for (const FieldDifference& d : list) {
        array.push_back({{"key", d.key}, {"a", d.before}, {"b", d.after}, {"unit", d.unit}});
    }
    return array;
}

void applyAssignments(SettingsImage& image, const std::vector<std::string>& assignments) {
    SettingsImage edited = image;
    for (const std::string& assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos) {
            throw CliError("expected KEY=VALUE, got: " + assignment);
        }
        applyOne(edited, knownField(assignment.substr(0, equals)), assignment.substr(equals + 1));
    }
    image = edited;
}
