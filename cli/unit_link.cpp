#include "unit_link.h"

#include "cli_error.h"

#include "commands/connect.h"
#include "device/adapter.h"
#include "device/com_device.h"
#include "device/d2xx/d2xx_types.h"
#include "device/d2xx/driver_table.h"
#include "device/platform/program_folder.h"
#include "device/platform/terminal.h"
#include "device/platform/utf8_path.h"
#include "device/serial/serial_ports.h"
#include "device/simulated_driver.h"
#include "resources/string_table.h"
#include "resources/text_catalogue.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace {

constexpr std::size_t listedAdaptersAtMost = 16;

bool progressShown = false;

} // namespace

std::string driverLibrary(const PortOptions& options) {
    if (!options.driver.empty()) {
        return options.driver;
    }
    if (options.simulate) {
        return utf8Of(simulatedDriverPath(programFolder()));
    }
    return DriverTable::defaultLibraryName();
}

ComDevice& openPort(const PortOptions& options) {
    // Lives as long as the process: the servo timer and the commands write through it.
    static Connection connection;
    PortChoice choice;
    choice.device = options.port;
    if (!options.driver.empty() || options.simulate) {
        // A library named on the command line is the one way to the adapter.
        choice.driverLibrary = driverLibrary(options);
        choice.serialFallback = false;
    }
    connection = connectAdapter(choice);
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

std::vector<std::string> listPorts(const PortOptions& options) {
    // The serial ports first, as varnel --list-ports prints them, then what the D2XX
    // library lists, when it can be loaded.
    std::vector<std::string> ports;
    if (options.driver.empty() && !options.simulate) {
        for (const SerialPortInfo& candidate : listSerialPorts()) {
            ports.push_back(describe(candidate));
        }
    }
    DriverTable driver;
    const std::string library = driverLibrary(options);
    if (!driver.load(library.c_str())) {
        if (!options.driver.empty() || options.simulate) {
            throw CliError(outcomeText(CommandOutcome::DriverMissing) + ": " + library);
        }
        return ports;
    }
    for (std::size_t index = 0; index < listedAdaptersAtMost; ++index) {
        std::array<char, 64> description{};
        // The listing takes the device index in its pointer argument.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        if (driver.FT_ListDevices(reinterpret_cast<void*>(std::uintptr_t{index}),
                                  static_cast<void*>(description.data()),
                                  d2xx::FT_LIST_BY_INDEX | d2xx::FT_OPEN_BY_DESCRIPTION) !=
            d2xx::FT_OK) {
            break;
        }
        description.back() = '\0';
        ports.push_back("d2xx:" + std::to_string(index) + "  " + description.data());
    }
    return ports;
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
