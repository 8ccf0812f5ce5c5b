#pragma once

// The command line's way to a unit: which port, which driver library, and how the
// pauses of a conversation show on a terminal.

#include "commands/outcome.h"
#include "commands/port_options.h"
#include "device/sleep.h"

#include <string>
#include <string_view>
#include <vector>

class ComDevice;

// Opens the port the options choose. Raises CliError when it cannot be used.
ComDevice& openPort(const PortOptions& options);

// The candidate adapters, one line each, each starting with the name --port takes.
// Raises CliError when none is found or a library named by the options cannot be
// loaded.
std::vector<std::string> candidatePorts(const PortOptions& options);

// Sleeps, showing a progress line on standard error when it is a terminal; the line is
// cleared once the conversation is over.
SleepFunction progressSleep();
void clearProgress();

// A message of the text catalogue as the command line words its errors: the English,
// with "%1" replaced by the subject, starting in lower case and without a full stop.
std::string cliMessage(int messageId, std::string_view subject = {});
// One line that says what went wrong.
std::string outcomeText(CommandOutcome outcome);
