#include "unit_link.h"

#include "cli_error.h"

#include "commands/connect.h"
#include "device/adapter.h"
#include "device/com_device.h"
#include "device/platform/terminal.h"
#include "resources/string_table.h"
#include "resources/text_catalogue.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <utility>

namespace {

bool progressShown = false;

} // namespace

ComDevice& openPort(const PortOptions& options) {
    // Lives as long as the process: the servo timer and the commands write through it.
    static Connection connection;
    connection = connectAdapter(portChoice(options));
    if (!connection.port) {
        switch (connection.message) {
        case msg::portNoPermission:
        case msg::portBusy:
            throw CliError(cliMessage(connection.message, connection.device));
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

std::string cliMessage(int messageId, std::string_view subject) {
    const char* english = englishText(messageText(messageId));
    std::string text = english ? english : "unknown error";
    if (const auto at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, subject);
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    // "The QB-7 is ..." reads "the QB-7 is ..." after the program's name; a word in
    // capitals ("QB-7 ...") keeps them.
    if (text.size() > 1 && std::isupper(static_cast<unsigned char>(text[0])) &&
        !std::isupper(static_cast<unsigned char>(text[1]))) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

std::string outcomeText(CommandOutcome outcome) {
    const int message = messageOf(outcome);
    return cliMessage(message == noMessage ? msg::unknownError : message);
}
