#pragma once

// The factory settings as published for the unit: image bytes 4 to 83, written out by
// hand so that the tests never take the program's own table as the truth.

#include <array>
#include <cstdint>

inline constexpr std::size_t factoryBytesOffset = 4;

// clang-format off
inline constexpr std::array<std::uint8_t, 80> factoryBytes{
    0x00, 0x00,                                     // 4-5 checksum word slot
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, // 6-13 channel map
    0x08, 0x09, 0x0A,                               // 14-16 kill switch, speed, governor switch
    0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11,       // 17-23
    0x1E, 0x00,                                     // 24-25
    0xC0, 0x0D,                                     // 26-27 limit point 2
    0x40, 0x18,                                     // 28-29 limit point 1
    0x00, 0x00,                                     // 30-31
    0xD0, 0x07, 0xDC, 0x05, 0xE8, 0x03,             // 32-37 target speeds
    0x40, 0x18, 0x00, 0x13, 0xC0, 0x0D, 0x00, 0x13, // 38-45
    0x20, 0x03,                                     // 46-47 gear ratio
    0x26, 0x02,                                     // 48-49
    0x02,                                           // 50 pole number
    0x00,                                           // 51 feed forward cyclic
    0xF0, 0x00, 0x1E, 0x0A, 0x02, 0x32, 0x5A, 0x0A, // 52-59
    0x28,                                           // 60 governor gain
    0x1E, 0x00, 0x18, 0x04, 0x0A, 0x32, 0x64, 0x01, // 61-68
    0x3C,                                           // 69 governor-on speed
    0x00,                                           // 70
    0x0A,                                           // 71 low limit idle-up
    0x3C,                                           // 72
    0x08, 0x0A,                                     // 73-74 speed-up and speed-down delay
    0x8E,                                           // 75
    0x05,                                           // 76 start delay
    0x00,                                           // 77 low limit hovering
    0x00, 0x68, 0xB1,                               // 78-80 governor, servo, communication flags
    0x14,                                           // 81
    0x1E,                                           // 82 stick switch
    0x00,                                           // 83
};
// clang-format on
