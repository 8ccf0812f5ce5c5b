// Wall time of a Read and a Write against the simulated unit with the real pauses,
// next to the floor their fixed pauses set. Prints one line per command.

#include "commands/unit_commands.h"
#include "device/kelvo.h"
#include "device/zabro.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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

void report(const char* name, double floorMs, const std::vector<double>& wallMs) {
    const double median = wallMs[wallMs.size() / 2];
    std::printf("%-5s floor %6.0f ms  median %8.2f ms  max %8.2f ms  overhead median %6.2f ms, "
                "max %6.2f ms\n",
                name, floorMs, median, wallMs.back(), median - floorMs, wallMs.back() - floorMs);
}

} // namespace

int main(int argc, char** argv) {
    const char* library = argc > 1 ? argv[1] : VARNEL_SIM_PATH;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    if (!theAdapter.driver.load(library)) {
        std::fprintf(stderr, "cannot bind %s\n", library);
        return 1;
    }
    theAdapter.open();
    Kelvo kelvo(&theAdapter);
    const auto read =
        timeRuns(runs, [&] { return readFromUnit(kelvo, theAdapter, realSleep).succeeded; });
    const auto write =
        timeRuns(runs, [&] { return writeToUnit(kelvo, false, realSleep).succeeded; });
    report("Read", 1500, read);
    report("Write", 9 * 100 + 500, write);
    return 0;
}
