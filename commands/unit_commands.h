#pragma once

#include "device/sleep.h"

#include <functional>

class ComDevice;
class Kelvo;

struct UnitCommandResult {
    bool succeeded = false;
    int message = 0; // always set: the success message or the failure's
};

// The device part of the Read command: preamble, pause, read transaction, and on
// success the received image copied over the working image.
UnitCommandResult readFromUnit(Kelvo& kelvo, ComDevice& port, const SleepFunction& sleep);

// The device part of the Write command: write transaction, pause, read-back and the
// comparison of bytes 6 to 83.
UnitCommandResult writeToUnit(Kelvo& kelvo, bool notUsingId, const SleepFunction& sleep);

// Runs a device step and maps what it raises to the command's message; used by the
// two commands and by the limit point hooks inside them. readCommand selects the Read
// command's mapping, otherwise the Write command's.
int runMapped(bool readCommand, const std::function<void()>& step);
