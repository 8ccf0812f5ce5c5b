#pragma once

#include <array>
#include <cstdint>

class SettingsImage;

// Factory values of image bytes 4 to 83.
extern const std::array<std::uint8_t, 80> FactoryDefaults;

// Fills bytes 4 to 83; the header and byte 84 keep their values.
void applyFactoryDefaults(SettingsImage& image);
