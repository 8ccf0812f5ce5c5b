#include "sim/unit_environment.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <string>

namespace sim {

namespace {

constexpr const char* recordVariable = "VARNEL_SIM_RECORD";
constexpr const char* faultVariable = "VARNEL_SIM_FAULT";

struct FaultName {
    const char* name;
    SimFault fault;
};

constexpr auto faultNames = std::to_array<FaultName>({
    {"no_adapter", SIM_FAULT_NO_ADAPTER},
    {"open_step", SIM_FAULT_OPEN_STEP},
    {"purge", SIM_FAULT_PURGE},
    {"write", SIM_FAULT_WRITE},
    {"read", SIM_FAULT_READ},
    {"no_reply", SIM_FAULT_NO_REPLY},
    {"wrong_marker", SIM_FAULT_WRONG_MARKER},
    {"bad_checksum", SIM_FAULT_BAD_CHECKSUM},
    {"foreign_model", SIM_FAULT_FOREIGN_MODEL},
    {"short_reply", SIM_FAULT_SHORT_REPLY},
    {"store_differently", SIM_FAULT_STORE_DIFFERENTLY},
    {"unplugged", SIM_FAULT_UNPLUGGED_AFTER},
    {"wrong_line", SIM_FAULT_WRONG_LINE},
});

const char* recordPath() {
    const char* path = std::getenv(recordVariable);
    return path != nullptr && *path != '\0' ? path : nullptr;
}

} // namespace

FaultSetting faultFromEnvironment() {
    const char* faultText = std::getenv(faultVariable);
    if (faultText == nullptr) {
        return {};
    }
    const std::string text(faultText);
    const auto colon = text.find(':');
    const std::string name = text.substr(0, colon);
    const int argument = colon == std::string::npos
                             ? 0
                             : static_cast<int>(std::strtol(faultText + colon + 1, nullptr, 0));
    for (const auto& entry : faultNames) {
        if (name == entry.name) {
            return {entry.fault, argument};
        }
    }
    return {};
}

Record startingRecord() {
    Record record = factoryRecord();
    if (const char* path = recordPath()) {
        std::ifstream file(path, std::ios::binary);
        Record kept{};
        // Anything but a whole record is ignored, so a damaged file means a fresh unit.
        if (file.read(reinterpret_cast<char*>(kept.data()), kept.size()) &&
            file.peek() == std::char_traits<char>::eof()) {
            record = kept;
        }
    }
    return record;
}

void persistRecord(const Record& record) {
    if (const char* path = recordPath()) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(record.data()),
                   static_cast<std::streamsize>(record.size()));
    }
}

} // namespace sim
