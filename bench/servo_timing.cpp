// Drives the simulated unit with servo frames from the periodic timer, as the limit
// point procedure does, and reports how far the frames stray from the 50 ms grid: once
// on an idle machine and once with every core kept busy.
//   servo_timing [--port] [idle|loaded|both]
// With --port the frames go through the serial port to the simulated unit on a
// pseudo-terminal, otherwise through the simulated adapter's D2XX binding.
//
// Two moments of each frame are measured. The hand-over, when the timer's tick calls
// the port's write, is the one the program controls, and the target applies to it. The
// arrival at the simulated unit adds the line's own delivery: on the pseudo-terminal
// the kernel's pty worker and the unit thread's scheduling, which a USB adapter does
// not have (it adds up to a millisecond of its own instead: full-speed USB polls every
// millisecond).

#include "bench_line.h"
#include "device/kelvo.h"
#include "device/periodic_timer.h"
#include "device/servo_frame.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr std::size_t periods = 200;
constexpr auto period = 50ms;
constexpr double p99TargetMs = 0.5;
constexpr double maxTargetMs = 2.0;

struct Figures {
    double medianMs;
    double p99Ms;
    double maxMs;
    std::size_t skipped; // periods without a frame
};

struct Run {
    Figures handOver;
    Figures arrival;
    // The timer thread's processor time over the run, awake wait included, as a share
    // of one core.
    double timerCpuPercent;
};

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t threadCpuNs() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return static_cast<std::int64_t>(cpu.tv_sec) * 1'000'000'000 + cpu.tv_nsec;
}

// The grid point of each hand-over, counted in periods from the first. A tick that
// overran skips whole periods, so a hand-over more than three quarters of a period
// after the one due goes to a later point. The frame that arrives belongs to the point
// of its hand-over.
std::vector<std::int64_t> gridPoints(const std::vector<std::int64_t>& handOvers) {
    const auto periodNs = std::chrono::duration_cast<std::chrono::nanoseconds>(period).count();
    std::vector<std::int64_t> points{0};
    for (std::size_t i = 1; i < handOvers.size(); ++i) {
        points.push_back(
            points.back() +
            std::max<std::int64_t>(1, (handOvers[i] - handOvers[i - 1] + periodNs / 4) / periodNs));
    }
    return points;
}

// How far each moment lies from its point on a 50 ms grid. The grid is placed at the
// earliest of the moments, since a frame can be late but never early; a constant delay
// of every frame does not change the servo's rhythm and does not count.
Figures deviationsFromGrid(const std::vector<std::int64_t>& moments,
                           const std::vector<std::int64_t>& points) {
    const auto periodNs = std::chrono::duration_cast<std::chrono::nanoseconds>(period).count();
    std::vector<std::int64_t> offsets;
    for (std::size_t i = 0; i < moments.size() && i < points.size(); ++i) {
        offsets.push_back(moments[i] - moments.front() - points[i] * periodNs);
    }
    const auto skipped = static_cast<std::size_t>(points.back()) + 1 - points.size();
    if (offsets.empty()) {
        return {0, 0, 0, skipped};
    }
    const std::int64_t grid = *std::min_element(offsets.begin(), offsets.end());
    std::vector<double> deviations;
    for (const std::int64_t offset : offsets) {
        deviations.push_back(static_cast<double>(offset - grid) / 1e6);
    }
    std::sort(deviations.begin(), deviations.end());
    const auto rank = [&](double fraction) {
        const auto index = static_cast<std::size_t>(std::ceil(fraction * deviations.size())) - 1;
        return deviations[std::min(index, deviations.size() - 1)];
    };
    return {rank(0.5), rank(0.99), deviations.back(), skipped};
}

Run measure(BenchLine& line) {
    line.wakeUnit();
    Kelvo kelvo(line.port.get());
    kelvo.servoDrive(true);
    realSleep(100ms);

    const std::size_t before = line.servoArrivals().size();
    ChannelValues[2] = 1024;
    std::vector<std::int64_t> handOvers(periods + 1);
    std::vector<std::int64_t> timerCpu(periods + 1);
    std::atomic<std::size_t> ticks{0};
    PeriodicTimer timer;
    ComDevice& port = *line.port;
    timer.start(period, [&] {
        const std::size_t tick = ticks.load(std::memory_order_relaxed);
        if (tick > periods) {
            return;
        }
        handOvers[tick] = nowNs();
        timerCpu[tick] = threadCpuNs();
        sendServoFrameThrough(port);
        ticks.store(tick + 1, std::memory_order_release);
    });
    while (ticks.load(std::memory_order_acquire) <= periods) {
        std::this_thread::sleep_for(10ms);
    }
    timer.kill();
    // The last frames may still be on their way through the pseudo-terminal.
    const auto giveUp = std::chrono::steady_clock::now() + 2s;
    while (line.servoArrivals().size() < before + periods + 1 &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(10ms);
    }
    kelvo.servoDrive(false);

    std::vector<std::int64_t> arrivals = line.servoArrivals();
    arrivals.erase(arrivals.begin(), arrivals.begin() + static_cast<std::ptrdiff_t>(before));
    if (arrivals.size() != periods + 1) {
        std::fprintf(stderr, "%zu of %zu frames arrived\n", arrivals.size(), periods + 1);
    }
    const double wallNs = static_cast<double>(handOvers.back() - handOvers.front());
    const std::vector<std::int64_t> points = gridPoints(handOvers);
    return {deviationsFromGrid(handOvers, points), deviationsFromGrid(arrivals, points),
            100.0 * static_cast<double>(timerCpu.back() - timerCpu.front()) / wallNs};
}

bool meetsTarget(const Figures& figures) {
    return figures.skipped == 0 && figures.p99Ms < p99TargetMs && figures.maxMs < maxTargetMs;
}

bool report(const char* label, const Run& run) {
    const auto print = [](const char* moment, const Figures& figures) {
        std::printf("  %-9s median %.3f ms, p99 %.3f ms, max %.3f ms", moment, figures.medianMs,
                    figures.p99Ms, figures.maxMs);
        if (figures.skipped != 0) {
            std::printf(", %zu periods skipped", figures.skipped);
        }
    };
    std::printf("%s: %zu frames every %lld ms, deviation from the grid\n", label, periods + 1,
                static_cast<long long>(period.count()));
    print("hand-over", run.handOver);
    const bool met = meetsTarget(run.handOver);
    std::printf(" (%s)\n", met ? "meets target" : "MISSES target");
    print("arrival", run.arrival);
    std::printf(" (%s)\n", meetsTarget(run.arrival) ? "within target" : "beyond target");
    std::printf("  timer thread %.2f%% of one core\n", run.timerCpuPercent);
    return met;
}

bool runLoaded(BenchLine& line) {
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    std::atomic<bool> stop{false};
    std::vector<std::thread> burners;
    for (unsigned i = 0; i < cores; ++i) {
        burners.emplace_back([&stop] {
            volatile std::uint64_t spin = 0;
            while (!stop.load(std::memory_order_relaxed)) {
                spin = spin + 1;
            }
        });
    }
    const Run run = measure(line);
    stop = true;
    for (auto& burner : burners) {
        burner.join();
    }
    const std::string label = "loaded (" + std::to_string(cores) + " busy threads)";
    return report(label.c_str(), run);
}

} // namespace

int main(int argc, char** argv) {
    int index = 1;
    BenchLine line = openBenchLine(argc, argv, index, VARNEL_SIM_PATH);
    const std::string mode = index < argc ? argv[index] : "both";
    if (mode != "idle" && mode != "loaded" && mode != "both") {
        std::fprintf(stderr, "usage: %s [--port] [idle|loaded|both]\n", argv[0]);
        return 2;
    }
    std::printf("%s line; target for the hand-over: p99 < %.1f ms, max < %.1f ms\n",
                line.name.c_str(), p99TargetMs, maxTargetMs);
    bool met = true;
    try {
        if (mode != "loaded") {
            met = report("idle", measure(line)) && met;
        }
        if (mode != "idle") {
            met = runLoaded(line) && met;
        }
    } catch (const ComDevice::ConnectionError&) {
        std::fprintf(stderr, "the line failed\n");
        return 1;
    }
    return met ? 0 : 1;
}
