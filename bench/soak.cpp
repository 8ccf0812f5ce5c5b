// Read and Write cycles against the simulated unit, with the pauses cut to a
// twentieth (on the pseudo-terminal, to the moment the unit has answered), checking that nothing
// piles up: every command succeeds, and the open file descriptors and the resident memory after the
// last cycle are those after the tenth. The port is closed and opened again between cycles, as each
// run does.
//   soak [--port] [cycles]
// With --port over the serial port on the simulated unit's pseudo-terminal, otherwise
// through the simulated adapter's D2XX binding.

#include "bench_line.h"
#include "commands/unit_commands.h"
#include "device/kelvo.h"
#include "sim/sim_control.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

struct Usage {
    std::size_t descriptors;
    long residentKiB;
};

Usage usageNow() {
    Usage usage{};
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++usage.descriptors;
    }
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    usage.residentKiB = resident * (sysconf(_SC_PAGESIZE) / 1024);
    return usage;
}

} // namespace

int main(int argc, char** argv) {
    int index = 1;
    BenchLine line = openBenchLine(argc, argv, index, VARNEL_SIM_PATH);
    const int cycles = index < argc ? std::max(10, std::atoi(argv[index])) : 1000;
    // A twentieth of each pause; on the pseudo-terminal at least until the unit has
    // answered, which the simulated adapter does before the write returns.
    const SleepFunction shortPause = [&line](std::chrono::milliseconds pause) {
        std::this_thread::sleep_for(pause / 20);
        if (line.unit) {
            line.unit->waitUntilAnswered();
        }
    };
    Kelvo kelvo(line.port.get(), shortPause);
    Usage afterTen{};
    Usage halfway{};
    int failures = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        line.port->close();
        if (!line.unit) {
            // The simulated adapter logs every byte written, up to 1 MiB; emptied so
            // that only the program's own memory is measured.
            simReset();
        }
        line.port->open();
        const auto read = readFromUnit(kelvo, *line.port, shortPause);
        kelvo.workingImage.raw()[40] = static_cast<std::uint8_t>(cycle);
        const auto write = writeToUnit(kelvo, false, shortPause);
        if (!read.succeeded || !write.succeeded) {
            ++failures;
            std::fprintf(stderr, "cycle %d: read message %d, write message %d\n", cycle,
                         read.message, write.message);
        }
        if (cycle == 10) {
            afterTen = usageNow();
        }
        if (cycle == cycles / 2) {
            halfway = usageNow();
        }
    }
    const Usage atEnd = usageNow();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const bool steady = failures == 0 && atEnd.descriptors == afterTen.descriptors &&
                        atEnd.residentKiB <= afterTen.residentKiB;
    std::printf("%-4s %d cycles in %.1f s, %d failed; descriptors %zu -> %zu; resident %ld -> "
                "%ld -> %ld KiB after 10, %d, %d cycles (%s)\n",
                line.name.c_str(), cycles, seconds, failures, afterTen.descriptors,
                atEnd.descriptors, afterTen.residentKiB, halfway.residentKiB, atEnd.residentKiB,
                cycles / 2, cycles, steady ? "steady" : "NOT STEADY");
    return steady ? 0 : 1;
}
