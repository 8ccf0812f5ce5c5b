// varnel-sim-socket: the simulated unit behind QEMU's emulated FTDI adapter, for testing
// the tty port against a real kernel's driver in a guest.
//
//   varnel-sim-socket --socket PATH --trace FILE [--monitor PATH --device ID]
//
// Listens on PATH for QEMU's chardev (-chardev socket,path=PATH) and follows QEMU's
// trace FILE (-trace 'usb_serial_*' -D FILE) for the line the guest's driver set. With
// the unplugged:N fault and a monitor, the adapter is pulled after N bytes by asking
// QEMU's human monitor (-monitor unix:PATH,server=on,wait=off) to delete device ID, so
// that the guest's kernel sees the adapter go. The environment sets the record file
// and the fault as for the other faces of the unit.
//
// It reports on standard output, one line each: "listening PATH" once it listens; the
// chip's settings whenever the bytes arrive under other ones; the pulling of the
// adapter; each record a write stores; and when QEMU has gone, the record at the start
// and at the end, the bytes received and the values of servo channel 3 in the order
// they arrived.

#include "sim/socket_unit.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

sim::SocketUnit* running = nullptr;

void onSignal(int) {
    if (running != nullptr) {
        running->stop();
    }
}

std::string hex(const sim::Record& record) {
    std::string text;
    for (const std::uint8_t byte : record) {
        std::array<char, 3> digits{};
        std::snprintf(digits.data(), digits.size(), "%02x", byte);
        text += digits.data();
    }
    return text;
}

// Sends one command to QEMU's human monitor. The connection stays open until the
// program ends, so that QEMU reads the whole command before it sees the close.
bool tellMonitor(const std::string& monitorPath, const std::string& command) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (monitorPath.size() >= sizeof(address.sun_path)) {
        return false;
    }
    monitorPath.copy(address.sun_path, monitorPath.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 ||
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        return false;
    }
    const std::string line = command + "\n";
    return ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size());
}

// Channel 3's values with repeats folded: what the servo was asked to follow.
std::string channel3Course(const std::vector<SimServoFrame>& frames) {
    std::string course;
    int last = -1;
    for (const SimServoFrame& frame : frames) {
        if (frame.channels[2] != last) {
            last = frame.channels[2];
            course += (course.empty() ? "" : " ") + std::to_string(last);
        }
    }
    return course;
}

} // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2) {
        options[argv[i]] = argv[i + 1];
    }
    if (argc % 2 != 1 || !options.contains("--socket") || !options.contains("--trace")) {
        std::fprintf(stderr, "usage: varnel-sim-socket --socket PATH --trace FILE "
                             "[--monitor PATH --device ID]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        sim::SocketUnit unit(options["--socket"], options["--trace"]);
        const sim::Record atStart = unit.line().unit().record();
        const std::string monitor = options["--monitor"];
        const std::string device = options["--device"];
        if (!monitor.empty() && !device.empty()) {
            unit.onUnplug([&] {
                const bool told = tellMonitor(monitor, "device_del " + device);
                std::printf("unplugged after %llu bytes: %s\n",
                            static_cast<unsigned long long>(unit.line().received()),
                            told ? ("device_del " + device).c_str() : "the monitor did not answer");
            });
        }
        unit.onSettings([](const sim::ChipSettings& settings, bool understood) {
            std::printf("line: %s, latency timer %d: %s\n", sim::describe(settings).c_str(),
                        settings.latencyTimer, understood ? "understood" : "not understood");
        });
        unit.onStored([](const sim::Record& record) {
            std::printf("record stored: %s\n", hex(record).c_str());
        });
        running = &unit;
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::printf("listening %s\n", options["--socket"].c_str());
        unit.serve();
        running = nullptr;

        const auto& model = unit.line().unit();
        const std::vector<SimServoFrame> frames(model.servoFrames().begin(),
                                                model.servoFrames().end());
        std::printf("latency timer: %d\n", unit.settings().latencyTimer);
        std::printf("record at start: %s\n", hex(atStart).c_str());
        std::printf("record at end: %s\n", hex(model.record()).c_str());
        std::printf("received: %llu bytes\n",
                    static_cast<unsigned long long>(unit.line().received()));
        std::printf("servo frames: %zu\n", frames.size());
        std::printf("servo channel 3: %s\n", channel3Course(frames).c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "varnel-sim-socket: %s\n", error.what());
        return 1;
    }
    return 0;
}
