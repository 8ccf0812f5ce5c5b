// kernel_serial_guest: the parts of the kernel serial stage that run inside the guest
// and need more than varnel-cli can show.
//
//   kernel_serial_guest limits PORT       the limit point procedure, as the dialog runs it
//   kernel_serial_guest unplug PORT FILE  a Write during which the adapter is pulled
//   kernel_serial_guest hold PORT READY   holds the port until killed (60 s at most),
//                                         creating READY once it does
//
// Each check prints "ok: ..." or "FAIL: ..."; the exit status is 0 only when every
// check passed, so that a clean exit is itself one of the things checked.

#include "cli/unit_link.h"
#include "commands/unit_session.h"
#include "device/adapter.h"
#include "device/serial/serial_port.h"
#include "settings/scales.h"
#include "settings/settings_image.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

int failures = 0;

void check(bool passed, const std::string& what) {
    std::printf("%s: %s\n", passed ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    failures += passed ? 0 : 1;
}

std::vector<char> fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

int threadCount() {
    const std::filesystem::path tasks("/proc/self/task");
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(tasks),
                                          std::filesystem::directory_iterator()));
}

// The servo slider's positions in the order the user moves it: out to one end, take
// the point, over to the other end, take the point. Each is held for a few frames.
void limits(SerialPort& port) {
    UnitSession session(port, realSleep);
    const CommandOutcome read = session.read();
    check(read == CommandOutcome::Connected, "read before the procedure: " + outcomeText(read));
    if (read != CommandOutcome::Connected) {
        return;
    }
    constexpr int high = 1900;
    constexpr int low = 200;
    constexpr auto holdFor = 300ms;
    // Taking the second point brings the servo back to the centre first.
    std::printf("servo channel 3 requested: %d %d %d; centred at %d\n", servoSliderCentre, high,
                low, servoSliderCentre);

    check(session.startLimitPoints(servoSliderCentre) == CommandOutcome::LimitPoint1Wanted,
          "servo drive on, frames started");
    std::this_thread::sleep_for(holdFor);
    session.moveServo(high);
    std::this_thread::sleep_for(holdFor);
    check(session.setLimitPoint(high) == CommandOutcome::LimitPoint2Wanted,
          "first limit point taken");
    session.moveServo(low);
    std::this_thread::sleep_for(holdFor);
    check(session.setLimitPoint(low) == CommandOutcome::LimitPointsStored,
          "second limit point taken, both stored");
    check(!session.limitPoints().framesDropped(), "no servo frame dropped");
    const CommandOutcome written = session.write(WritePacking::of(session.workingImage()));
    check(written == CommandOutcome::Written,
          "the limit points written and read back: " + outcomeText(written));
}

void unplug(SerialPort& port, const std::string& file) {
    UnitSession session(port, realSleep);
    const CommandOutcome read = session.read();
    check(read == CommandOutcome::Connected, "read before the write: " + outcomeText(read));
    if (read != CommandOutcome::Connected) {
        return;
    }
    session.saveAs(file);
    auto& raw = session.workingImage().raw();
    raw[30] ^= 0x21;
    raw[77] ^= 0x10;
    const SettingsImage edited = session.workingImage();
    const std::vector<char> fileBefore = fileBytes(file);

    const CommandOutcome written = session.write(WritePacking::of(edited));
    check(written == CommandOutcome::WriteError,
          "the write fails with its message: " + outcomeText(written));
    check(session.workingImage() == edited, "the working image is unchanged");
    check(!fileBefore.empty() && fileBytes(file) == fileBefore, "the settings file is unchanged");
    const int threads = threadCount();
    check(threads == 1, "no thread left running (" + std::to_string(threads) + " in the process)");
}

// The port stays open, held exclusively, while this sleeps.
void hold(const std::string& ready) {
    std::ofstream{ready};
    std::this_thread::sleep_for(60s);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2 || (args[0] != "limits" && args.size() < 3)) {
        std::fprintf(
            stderr,
            "usage: kernel_serial_guest limits PORT | unplug PORT FILE | hold PORT READY\n");
        return 2;
    }
    SerialPort port(args[1]);
    try {
        port.open();
    } catch (const ComDevice::ConnectionError&) {
        check(false, "cannot open " + args[1]);
        return 1;
    }
    // The servo frames go out through the process's adapter, as in the dialog.
    chooseAdapter(&port);
    if (args[0] == "limits") {
        limits(port);
    } else if (args[0] == "unplug") {
        unplug(port, args[2]);
    } else {
        hold(args[2]);
    }
    chooseAdapter(nullptr);
    return failures == 0 ? 0 : 1;
}
