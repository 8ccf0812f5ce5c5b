#pragma once

// Every field of the settings record as one table: a stable English key, where the
// field lives, what kind of value it is, its unit and range, and how it is shown.
// Listing, comparing and editing records outside the dialog all go through it.

#include "settings/scales.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

class SettingsImage;

enum class FieldKind {
    Number, // shown in display units
    Choice, // one of named values
    Flag,   // on or off
};

// How the stored value becomes the shown one.
enum class FieldDisplay {
    Plain,          // the stored integer itself
    GearRatio,      // hundredths shown with two decimals
    ServoUpperSide, // servo units on the 0..150 display scale, above the centre
    ServoLowerSide, // servo units on the 0..150 display scale, below the centre
};

struct FieldChoice {
    std::uint32_t code; // the value of the field's bits
    const char* name;
    // The dialog's label for the value, in the interface's source language (Japanese);
    // null where the dialog shows the name itself.
    const char* label = nullptr;
};

struct FieldSpec {
    const char* key;
    std::size_t offset;
    std::size_t width; // 1 or 2 bytes
    std::uint8_t mask; // the bits of a one-byte field; 0xFF for the whole byte
    bool bigEndian;    // only the unit ID
    bool isSetting;    // false for the header, which is identity, not a setting
    FieldKind kind;
    FieldDisplay display;
    // Number fields with a slider take unit and range from the slider table.
    std::optional<SliderField> slider;
    const char* unit; // for numbers without a slider
    int minimum;      // display units, for numbers without a slider
    int maximum;      // display units, for numbers without a slider
    std::span<const FieldChoice> choices;
    // The dialog's label for the field, in the interface's source language (Japanese);
    // the text catalogue holds its other languages.
    const char* label = nullptr;
};

std::span<const FieldSpec> fieldTable();
// Null for a key the table does not hold.
const FieldSpec* findField(std::string_view key);

// The field's bits as a number: masked, shifted down, in the field's byte order.
std::uint32_t storedValue(const SettingsImage& image, const FieldSpec& field);
// Writes only the field's bits; the value must fit them.
void storeValue(SettingsImage& image, const FieldSpec& field, std::uint32_t value);

// The stored value as shown: "2000", "8.00", "fixed", "on", "100". A choice code
// without a name is shown as its number.
std::string displayText(const FieldSpec& field, std::uint32_t value);
std::string unitText(const FieldSpec& field);
// The dialog's label for a value: the choice's label, else displayText() followed by
// the unit ("2000 rpm"). Labels are in the interface's source language.
std::string labelText(const FieldSpec& field, std::uint32_t value);
// "700..4000", "1.00..50.00", "optimize|fixed|tx_curve", "on|off".
std::string rangeText(const FieldSpec& field);
// The lowest and highest value of a number field, as shown: "700" and "4000".
std::pair<std::string, std::string> numberBounds(const FieldSpec& field);

struct ParsedValue {
    std::optional<std::uint32_t> value; // the value to store
    std::string problem;                // why not, when there is no value
};
// A value typed in display units, range-checked. Header fields are refused.
ParsedValue parseDisplayText(const FieldSpec& field, std::string_view text);

// The bits of an image byte that no field of the table covers.
std::uint8_t uncoveredBits(std::size_t offset);
