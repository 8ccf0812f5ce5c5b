#pragma once

// A scripted D2XX library: the nine entries the program calls, filled into a
// DriverTable by hand, each logging its call so a test sees exactly what went out.

#include "device/d2xx/driver_table.h"

#include <cstdint>
#include <string>
#include <vector>

struct FakeD2xx {
    // One line per call: the entry's name and its arguments, with "@" for the open
    // device's handle and "?" for any other.
    std::vector<std::string> calls;
    std::vector<std::vector<std::uint8_t>> writes;
    // What the line holds for FT_Read; each read takes from the front.
    std::vector<std::uint8_t> incoming;
    // The entry named here answers with an error status.
    std::string failing;
    // FT_Write fails once this many writes have succeeded (-1: never).
    int writesBeforeFailure = -1;

    static constexpr std::uintptr_t handleValue = 0x5AB0;
    static d2xx::FT_HANDLE handle() { return reinterpret_cast<d2xx::FT_HANDLE>(handleValue); }
};

// Reset before every test that uses it.
extern FakeD2xx fake;

// A table with every entry the program calls, and nothing else.
DriverTable fakeDriverTable();
