#pragma once

#include "resources/interface_language.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The names a person reads for the fields of the settings record, keyed by the field
// table's keys: the dialog's own labels, in both languages.

// Null for a key without a name.
const char* fieldName(std::string_view key, Language language);

// The dialog's label for a choice or flag value ("レブリミットモード", "ACT"); null when
// the dialog shows that value by its code (channels, numbers).
const char* valueName(std::string_view key, std::uint32_t code, Language language);
