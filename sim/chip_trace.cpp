#include "sim/chip_trace.h"

#include <array>
#include <cstdio>
#include <string>

namespace sim {

namespace {

constexpr int unitBaudRate = 100000;
constexpr unsigned setLatencyRequest = 0x4009;

// The text after an event's name, or an empty view when the line is another event's.
// QEMU may put its process and time ahead of the name ("123@1.5:name ...").
std::string_view argumentsOf(std::string_view line, std::string_view event) {
    const auto at = line.find(event);
    if (at == std::string_view::npos) {
        return {};
    }
    const auto after = at + event.size();
    if (after >= line.size() || line[after] != ' ') {
        return {};
    }
    return line.substr(after + 1);
}

} // namespace

bool unitSettings(const ChipSettings& settings) {
    return settings.baudRate == unitBaudRate && settings.parity == 'E' && settings.dataBits == 8 &&
           settings.stopBits == 2 && settings.flowControl == 0;
}

std::string describe(const ChipSettings& settings) {
    return std::to_string(settings.baudRate) + " baud, parity " + settings.parity + ", " +
           std::to_string(settings.dataBits) + " data bits, " + std::to_string(settings.stopBits) +
           " stop bits, flow control " + std::to_string(settings.flowControl);
}

void applyTraceLine(ChipSettings& settings, std::string_view line) {
    unsigned bus = 0;
    unsigned address = 0;
    if (const auto arguments = argumentsOf(line, "usb_serial_reset"); !arguments.empty()) {
        // The chip's own power-on line; the latency timer is left as it was.
        const int latency = settings.latencyTimer;
        settings = ChipSettings{};
        settings.latencyTimer = latency;
    } else if (const auto baud = argumentsOf(line, "usb_serial_set_baud"); !baud.empty()) {
        int rate = 0;
        if (std::sscanf(std::string(baud).c_str(), "dev %u:%u baud rate %d", &bus, &address,
                        &rate) == 3) {
            settings.baudRate = rate;
        }
    } else if (const auto data = argumentsOf(line, "usb_serial_set_data"); !data.empty()) {
        char parity = 0;
        int bits = 0;
        int stops = 0;
        if (std::sscanf(std::string(data).c_str(),
                        "dev %u:%u parity %c, data bits %d, stop bits %d", &bus, &address, &parity,
                        &bits, &stops) == 5) {
            settings.parity = parity;
            settings.dataBits = bits;
            settings.stopBits = stops;
        }
    } else if (!argumentsOf(line, "usb_serial_unsupported_parity").empty()) {
        settings.parity = '?';
    } else if (!argumentsOf(line, "usb_serial_unsupported_stopbits").empty()) {
        settings.stopBits = 0;
    } else if (const auto flow = argumentsOf(line, "usb_serial_set_flow_control"); !flow.empty()) {
        int index = 0;
        if (std::sscanf(std::string(flow).c_str(), "dev %u:%u flow control %d", &bus, &address,
                        &index) == 3) {
            settings.flowControl = index;
        }
    } else if (const auto control = argumentsOf(line, "usb_serial_handle_control");
               !control.empty()) {
        unsigned request = 0;
        unsigned value = 0;
        if (std::sscanf(std::string(control).c_str(), "dev %u:%u got control 0x%x, value 0x%x",
                        &bus, &address, &request, &value) == 4 &&
            request == setLatencyRequest) {
            settings.latencyTimer = static_cast<int>(value & 0xFFU);
        }
    }
}

const ChipSettings& ChipTrace::update() {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return settings;
    }
    if (std::fseek(file, offset, SEEK_SET) == 0) {
        std::array<char, 4096> buffer{};
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
            offset += static_cast<long>(got);
            partialLine.append(buffer.data(), got);
        }
    }
    std::fclose(file);
    std::size_t start = 0;
    for (auto end = partialLine.find('\n'); end != std::string::npos;
         end = partialLine.find('\n', start)) {
        applyTraceLine(settings, std::string_view(partialLine).substr(start, end - start));
        start = end + 1;
    }
    partialLine.erase(0, start);
    return settings;
}

} // namespace sim
