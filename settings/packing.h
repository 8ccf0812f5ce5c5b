#pragma once

#include <array>

class SettingsImage;
struct PanelValues;

// Dialog values into the image: clamps, inverted two-button bits, read-modify-write of
// the flag bytes. Leaves the limit points, the control response code, the checksum
// slot, byte 84 and all unit data alone. Also stores the governor gain, so a moved
// gain slider is never silently dropped.
void packValues(const PanelValues& values, SettingsImage& image);

// Image into the dialog values. Leaves servoPosition and notUsingId alone.
void unpackImage(const SettingsImage& image, PanelValues& values);

// What the Write command adds before sending: the control response code (clamped
// to 0..3) and the governor gain (clamped to 0..255).
void packControlResponseAndGain(int controlResponse, int governorGain, SettingsImage& image);

struct ControlResponsePreset {
    int code;
    int governorGain;
};
// Indexed by control response code: Moderate, Middle, Quick, Silent.
extern const std::array<ControlResponsePreset, 4> controlResponsePresets;
