#include "unit_link.h"

#include "cli_error.h"

#include "commands/connect.h"
#include "device/d2xx_types.h"
#include "device/driver_table.h"
#include "device/zabro.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <utility>

namespace {

// Built beside the program, in the build tree as in an installation.
constexpr const char* simulatedLibrary = "libvarnel_sim.so";
constexpr std::size_t listedAdaptersAtMost = 16;

bool progressShown = false;

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(".") : self.parent_path();
}

// A serial device named by --port is not available in this build yet; this is where
// it is opened once it is.
ComDevice& openSerialPort(const std::string& name) {
    throw CliError("--port " + name + ": serial ports are not available in this build; " +
                   "leave --port out to use the QB-7 adapter");
}

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

std::string driverLibrary(const PortOptions& options) {
    if (!options.driver.empty()) {
        return options.driver;
    }
    if (options.simulate) {
        return (programFolder() / simulatedLibrary).string();
    }
    return DriverTable::defaultLibraryName();
}

ComDevice& openPort(const PortOptions& options) {
    if (!options.port.empty()) {
        return openSerialPort(options.port);
    }
    const int message = connectAdapter(theAdapter, driverLibrary(options).c_str());
    if (message != noMessage) {
        throw CliError(outcomeText(outcomeOf(message)));
    }
    return theAdapter;
}

std::vector<std::string> listPorts(const PortOptions& options) {
    DriverTable driver;
    const std::string library = driverLibrary(options);
    if (!driver.load(library.c_str())) {
        throw CliError(outcomeText(CommandOutcome::DriverMissing) + ": " + library);
    }
    std::vector<std::string> ports;
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
    if (::isatty(STDERR_FILENO) == 0) {
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
