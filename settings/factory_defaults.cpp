#include "settings/factory_defaults.h"

#include "settings/settings_image.h"

#include <algorithm>

// Image bytes 4 to 83 as a new unit leaves the factory, in storage order. Unit data
// bytes are the unit's own and are carried as they are.
const std::array<std::uint8_t, 80> FactoryDefaults{
    0x00, 0x00,                                     // 4-5 checksum word slot
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, // 6-13 CH1..CH8 on channels 1..8
    0x08,                                           // 14 kill switch on channel 9
    0x09,                                           // 15 speed sensor on channel 10
    0x0A,                                           // 16 governor switch on channel 11
    0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11,       // 17-23 unit data
    0x1E, 0x00,                                     // 24-25 unit data
    0xC0, 0x0D,                                     // 26-27 limit point 2: 3520
    0x40, 0x18,                                     // 28-29 limit point 1: 6208
    0x00, 0x00,                                     // 30-31 unit data
    0xD0, 0x07,                                     // 32-33 speed setting 1: 2000 rpm
    0xDC, 0x05,                                     // 34-35 speed setting 2: 1500 rpm
    0xE8, 0x03,                                     // 36-37 speed setting 3: 1000 rpm
    0x40, 0x18, 0x00, 0x13, 0xC0, 0x0D, 0x00, 0x13, // 38-45 unit data
    0x20, 0x03,                                     // 46-47 gear ratio 8.00
    0x26, 0x02,                                     // 48-49 unit data
    0x02,                                           // 50 pole number 2
    0x00,                                           // 51 feed forward cyclic 0 %
    0xF0, 0x00, 0x1E, 0x0A, 0x02, 0x32, 0x5A, 0x0A, // 52-59 unit data
    0x28,                                           // 60 governor gain 40 %
    0x1E, 0x00, 0x18, 0x04, 0x0A, 0x32, 0x64, 0x01, // 61-68 unit data
    0x3C,                                           // 69 governor-on speed 60 %
    0x00,                                           // 70 unit data
    0x0A,                                           // 71 low limit idle-up 10 %
    0x3C,                                           // 72 unit data
    0x08,                                           // 73 speed-up delay 8 frames
    0x0A,                                           // 74 speed-down delay 10 frames
    0x8E,                                           // 75 unit data
    0x05,                                           // 76 start delay 5 frames
    0x00,                                           // 77 low limit hovering 0 %
    0x00,                                           // 78 governor flags
    0x68,                                           // 79 servo flags: Fixed, analogue
    0xB1,                                           // 80 communication flags: Middle
    0x14,                                           // 81 unit data
    0x1E,                                           // 82 stick switch 30 %
    0x00,                                           // 83 unit data
};

void applyFactoryDefaults(SettingsImage& image) {
    std::copy(FactoryDefaults.begin(), FactoryDefaults.end(),
              image.raw().begin() + SettingsImage::firstBlockOffset);
}
