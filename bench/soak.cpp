// Read and Write cycles against the simulated unit, checking that nothing piles up:
// every command succeeds, the open file descriptors after the last cycle are those
// after the tenth, and the resident memory does not grow over the second half (the
// allocator settles in the first cycles). The port is closed and opened again between
// cycles, as each run does. Each pause ends as soon as the echo of every byte sent has
// come back, counted byte by byte, or at a deadline: a command that fails then has
// really failed, not raced a pause cut too short.
//   soak [--port] [cycles]
// With --port over the serial port on the simulated unit's pseudo-terminal, otherwise
// through the simulated adapter's D2XX binding.

#include "bench_line.h"
#include "commands/unit_commands.h"
#include "device/kelvo.h"
#include "sim/sim_control.h"

#include <algorithm>
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

// Counts the bytes sent since the receive queue was last emptied, whose echo the line
// owes the program.
class EchoCountingPort : public ComDevice {
public:
    explicit EchoCountingPort(ComDevice& port) : port(port) {}
    void open() override {
        port.open();
        owed = 0;
    }
    void close() override { port.close(); }
    std::uint32_t read(std::uint8_t* buffer, std::uint32_t count) override {
        const std::uint32_t got = port.read(buffer, count);
        owed -= std::min<std::size_t>(owed, got);
        return got;
    }
    void write(const std::uint8_t* buffer, std::uint32_t count) override {
        port.write(buffer, count);
        owed += count;
    }
    void purgeReceive() override {
        port.purgeReceive();
        owed = 0;
    }
    std::size_t echoOwed() const { return owed; }

private:
    ComDevice& port;
    std::size_t owed = 0;
};

// Longer than any pause of the conversation: an echo later than this is lost.
constexpr auto echoDeadline = std::chrono::seconds(5);

} // namespace

int main(int argc, char** argv) {
    int index = 1;
    BenchLine line = openBenchLine(argc, argv, index, VARNEL_SIM_PATH);
    const int cycles = index < argc ? std::max(10, std::atoi(argv[index])) : 1000;
    EchoCountingPort port(*line.port);
    // The simulated adapter queues the echo before its write returns; on the
    // pseudo-terminal it comes back through the kernel, later on a loaded machine.
    int lateEchoes = 0;
    const SleepFunction untilEchoed = [&](std::chrono::milliseconds) {
        if (!line.unit) {
            return;
        }
        const auto giveUp = std::chrono::steady_clock::now() + echoDeadline;
        while (line.unit->bytesForProgram() < port.echoOwed()) {
            if (std::chrono::steady_clock::now() > giveUp) {
                ++lateEchoes;
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    };
    Kelvo kelvo(&port, untilEchoed);
    Usage afterTen{};
    Usage halfway{};
    int failures = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        port.close();
        if (!line.unit) {
            // The simulated adapter logs every byte written, up to 1 MiB; emptied so
            // that only the program's own memory is measured.
            simReset();
        }
        port.open();
        const auto read = readFromUnit(kelvo, port, untilEchoed);
        kelvo.workingImage.raw()[40] = static_cast<std::uint8_t>(cycle);
        const auto write = writeToUnit(kelvo, false, untilEchoed);
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
    const bool steady = failures == 0 && lateEchoes == 0 &&
                        atEnd.descriptors == afterTen.descriptors &&
                        atEnd.residentKiB <= halfway.residentKiB;
    std::printf("%-4s %d cycles in %.1f s, %d failed, %d echoes later than %lld s; "
                "descriptors %zu -> %zu; resident %ld -> %ld -> %ld KiB after 10, %d, %d "
                "cycles (%s)\n",
                line.name.c_str(), cycles, seconds, failures, lateEchoes,
                static_cast<long long>(echoDeadline.count()), afterTen.descriptors,
                atEnd.descriptors, afterTen.residentKiB, halfway.residentKiB, atEnd.residentKiB,
                cycles / 2, cycles, steady ? "steady" : "NOT STEADY");
    return steady ? 0 : 1;
}
