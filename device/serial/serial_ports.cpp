#include "device/serial/serial_ports.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The USB device sits a few levels above the tty's own device (port, interface).
constexpr int usbDeviceSearchDepth = 4;

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())) != 0) {
        line.pop_back();
    }
    return line;
}

std::uint16_t hexWord(const std::string& text) {
    try {
        return static_cast<std::uint16_t>(std::stoul(text, nullptr, 16));
    } catch (const std::exception&) {
        return 0;
    }
}

// Names with their digit runs compared as numbers.
bool nameOrder(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) != 0 &&
            std::isdigit(static_cast<unsigned char>(b[j])) != 0) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA])) != 0) {
                ++endA;
            }
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB])) != 0) {
                ++endB;
            }
            const auto numberA = std::stoull(a.substr(i, endA - i));
            const auto numberB = std::stoull(b.substr(j, endB - j));
            if (numberA != numberB) {
                return numberA < numberB;
            }
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    // Equal up to where the shorter ends: the shorter comes first.
    return i == a.size() && j < b.size();
}

} // namespace

std::vector<SerialPortInfo> listSerialPorts(const SerialPortRoots& roots) {
    std::vector<std::pair<std::string, SerialPortInfo>> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(roots.classTty, error)) {
        std::error_code linkError;
        const fs::path device = fs::canonical(entry.path() / "device", linkError);
        if (linkError) {
            continue; // a virtual terminal, a pty
        }
        fs::path usb = device;
        for (int depth = 0; depth < usbDeviceSearchDepth && !fs::exists(usb / "idVendor", error);
             ++depth) {
            usb = usb.parent_path();
        }
        if (!fs::exists(usb / "idVendor", error)) {
            continue;
        }
        const std::string name = entry.path().filename().string();
        SerialPortInfo info;
        info.path = (fs::path(roots.dev) / name).string();
        info.vendor = hexWord(firstLine(usb / "idVendor"));
        info.product = hexWord(firstLine(usb / "idProduct"));
        info.description = firstLine(usb / "product");
        info.serial = firstLine(usb / "serial");
        found.emplace_back(name, std::move(info));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return nameOrder(a.first, b.first); });
    std::vector<SerialPortInfo> ports;
    ports.reserve(found.size());
    for (auto& [name, info] : found) {
        ports.push_back(std::move(info));
    }
    return ports;
}

std::string describe(const SerialPortInfo& port) {
    std::array<char, 16> ids{};
    std::snprintf(ids.data(), ids.size(), "%04x:%04x", port.vendor, port.product);
    return port.path + " " + ids.data() + " " +
           (port.description.empty() ? "-" : port.description) + " " +
           (port.serial.empty() ? "-" : port.serial);
}
