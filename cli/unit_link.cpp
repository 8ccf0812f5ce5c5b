#include "unit_link.h"

#include "cli_error.h"

#include "commands/connect.h"
#include "device/adapter.h"
#include "device/com_device.h"
#include "device/platform/terminal.h"
#include "resources/string_table.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <utility>

namespace {

bool progressShown = false;

const std::array<std::pair<CommandOutcome, const char*>, 13> outcomeTexts{{
    {CommandOutcome::Connected, "read the unit"},
    {CommandOutcome::Written, "the unit holds the new settings (verified by reading them back)"},
    {CommandOutcome::ForeignModel, "the unit or record is of another model, not a Kelvo"},
    {CommandOutcome::ReadError, "the unit did not answer correctly (read error)"},
    {CommandOutcome::WriteError,
     "the write failed: the unit does not hold the settings sent (write error)"},
    {CommandOutcome::FileReadError, "cannot read the settings file"},
    {CommandOutcome::FileWriteError, "cannot write the settings file"},
    {CommandOutcome::DiskFull, "not enough free space on the disk"},
    {CommandOutcome::UnknownError, "unknown error"},
    {CommandOutcome::DriverMissing, "the D2XX driver library cannot be loaded"},
    {CommandOutcome::AdapterMissing, "no QB-7 adapter is connected"},
    {CommandOutcome::AdapterFault, "the QB-7 adapter is not working properly"},
    {CommandOutcome::Done, "done"},
}};

} // namespace

ComDevice& openPort(const PortOptions& options) {
    // Lives as long as the process: the servo timer and the commands write through it.
    static Connection connection;
    connection = connectAdapter(portChoice(options));
    if (!connection.port) {
        switch (connection.message) {
        case msg::portNoPermission:
            throw CliError("no permission to open " + connection.device +
                           ": add yourself to the dialout group and log in again, or install "
                           "the package's udev rule");
        case msg::portBusy:
            throw CliError(connection.device + " is in use by another program");
        default:
            throw CliError((options.port.empty() ? "" : options.port + ": ") +
                           outcomeText(outcomeOf(connection.message)));
        }
    }
    chooseAdapter(connection.port.get());
    return *connection.port;
}

std::vector<std::string> candidatePorts(const PortOptions& options) {
    PortListing listing = listPorts(options);
    const std::string problem = listingProblem(listing);
    if (!problem.empty()) {
        throw CliError(problem);
    }
    return std::move(listing.lines);
}

SleepFunction progressSleep() {
    if (!standardErrorIsTerminal()) {
        return realSleep;
    }
    return [waited = std::chrono::milliseconds(0)](std::chrono::milliseconds pause) mutable {
        waited += pause;
        std::fprintf(stderr, "\rtalking to the unit... %.1f s",
                     static_cast<double>(waited.count()) / 1000.0);
        std::fflush(stderr);
        progressShown = true;
        realSleep(pause);
    };
}

void clearProgress() {
    if (progressShown) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        progressShown = false;
    }
}

std::string outcomeText(CommandOutcome outcome) {
    for (const auto& [known, text] : outcomeTexts) {
        if (known == outcome) {
            return text;
        }
    }
    return "unknown error";
}
