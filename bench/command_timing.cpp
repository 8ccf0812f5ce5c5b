// Wall time of a Read and a Write against the simulated unit with the real pauses,
// next to the floor their fixed pauses set. Prints one line per command.
//   command_timing [library] [runs]         the simulated adapter through D2XX
//   command_timing --port [PATH] [runs]     the serial port on the simulated unit's
//                                           pseudo-terminal, or on the tty at PATH

#include "bench_line.h"
#include "commands/unit_commands.h"
#include "device/kelvo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <class Command> std::vector<double> timeRuns(int runs, Command command) {
    std::vector<double> overheadsMs;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (!command()) {
            std::fprintf(stderr, "command failed\n");
            std::exit(1);
        }
        overheadsMs.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(overheadsMs.begin(), overheadsMs.end());
    return overheadsMs;
}

void report(const char* transport, const char* name, double floorMs,
            const std::vector<double>& wallMs) {
    const double median = wallMs[wallMs.size() / 2];
    std::printf("%-4s %-5s floor %6.0f ms  median %8.2f ms  max %8.2f ms  overhead median "
                "%6.2f ms, max %6.2f ms\n",
                transport, name, floorMs, median, wallMs.back(), median - floorMs,
                wallMs.back() - floorMs);
}

} // namespace

int main(int argc, char** argv) {
    int index = 1;
    const char* library = VARNEL_SIM_PATH;
    if (index < argc && std::string_view(argv[index]) != "--port" && argv[index][0] == '/') {
        library = argv[index++];
    }
    BenchLine line = openBenchLine(argc, argv, index, library);
    const int runs = index < argc ? std::max(1, std::atoi(argv[index])) : 5;
    Kelvo kelvo(line.port.get());
    const auto read =
        timeRuns(runs, [&] { return readFromUnit(kelvo, *line.port, realSleep).succeeded; });
    const auto write =
        timeRuns(runs, [&] { return writeToUnit(kelvo, false, realSleep).succeeded; });
    report(line.name.c_str(), "Read", 1500, read);
    report(line.name.c_str(), "Write", 9 * 100 + 500, write);
    return 0;
}
