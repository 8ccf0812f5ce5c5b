#pragma once

// The command line's way to a unit: which port, which driver library, and how the
// pauses of a conversation show on a terminal.

#include "commands/outcome.h"
#include "device/sleep.h"

#include <string>
#include <string_view>
#include <vector>

class ComDevice;

struct PortOptions {
    std::string port;   // a serial device; empty for the QB-7 adapter
    std::string driver; // the D2XX library to load; empty for the vendor's
    bool simulate = false;
};

// The library the options name: --driver, else the simulated unit's beside the
// program, else the vendor's.
std::string driverLibrary(const PortOptions& options);

// Opens the port the options choose. Raises CliError when it cannot be used.
ComDevice& openPort(const PortOptions& options);

// The adapters the driver lists, one line each.
std::vector<std::string> listPorts(const PortOptions& options);

// Sleeps, showing a progress line on standard error when it is a terminal; the line is
// cleared once the conversation is over.
SleepFunction progressSleep();
void clearProgress();

// A message of the text catalogue as the command line words its errors: the English,
// with "%1" replaced by the subject, starting in lower case and without a full stop.
std::string cliMessage(int messageId, std::string_view subject = {});
// One line that says what went wrong.
std::string outcomeText(CommandOutcome outcome);
