#include "commands/port_options.h"

#include "device/d2xx/d2xx_types.h"
#include "device/d2xx/driver_table.h"
#include "device/platform/program_folder.h"
#include "device/platform/utf8_path.h"
#include "device/serial/serial_ports.h"
#include "device/simulated_driver.h"
#include "resources/text_catalogue.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::string_view d2xxPrefix = "d2xx:";
constexpr int listedAdaptersAtMost = 16;

bool namesLibrary(const PortOptions& options) {
    return !options.driver.empty() || options.simulate;
}

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

std::optional<int> d2xxIndexNamed(const std::string& name) {
    if (name.size() <= d2xxPrefix.size() || name.compare(0, d2xxPrefix.size(), d2xxPrefix) != 0) {
        return std::nullopt;
    }
    int index = 0;
    for (const char c : name.substr(d2xxPrefix.size())) {
        if (c < '0' || c > '9' || index >= listedAdaptersAtMost) {
            return std::nullopt;
        }
        index = index * 10 + (c - '0');
    }
    return index;
}

PortChoice portChoice(const PortOptions& options) {
    PortChoice choice;
    if (const std::optional<int> index = d2xxIndexNamed(options.port)) {
        choice.d2xxIndex = *index;
        choice.serialFallback = false;
    } else {
        choice.device = options.port;
    }
    if (namesLibrary(options)) {
        choice.driverLibrary = driverLibrary(options);
        choice.serialFallback = false;
    }
    return choice;
}

std::string listingProblem(const PortListing& listing) {
    // Both programs speak English on their command lines, whatever the dialog's language.
    const auto commandLine = [](std::string_view japanese) {
        const char* english = englishText(japanese);
        return std::string(english != nullptr ? english : japanese);
    };
    if (!listing.missingLibrary.empty()) {
        return commandLine("D2XXドライバのライブラリを読み込めません: ") + listing.missingLibrary;
    }
    if (listing.lines.empty()) {
        return commandLine(
            "QB-7が見つかりません: USBシリアルポートもD2XXライブラリのデバイスもありません");
    }
    return {};
}

PortListing listPorts(const PortOptions& options) {
    PortListing listing;
    if (!namesLibrary(options)) {
        for (const SerialPortInfo& candidate : listSerialPorts()) {
            listing.lines.push_back(describe(candidate));
        }
    }
    DriverTable driver;
    const std::string library = driverLibrary(options);
    if (!driver.load(library.c_str())) {
        // The vendor's library is optional where the tty is a way in.
        if (namesLibrary(options)) {
            listing.missingLibrary = library;
        }
        return listing;
    }
    for (int index = 0; index < listedAdaptersAtMost; ++index) {
        std::array<char, 64> description{};
        // The listing takes the device index in its pointer argument.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        if (driver.FT_ListDevices(reinterpret_cast<void*>(static_cast<std::uintptr_t>(index)),
                                  static_cast<void*>(description.data()),
                                  d2xx::FT_LIST_BY_INDEX | d2xx::FT_OPEN_BY_DESCRIPTION) !=
            d2xx::FT_OK) {
            break;
        }
        description.back() = '\0';
        listing.lines.push_back(std::string(d2xxPrefix) + std::to_string(index) + " " +
                                description.data());
    }
    return listing;
}
