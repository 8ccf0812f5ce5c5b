// Drives the simulated unit with servo frames from the periodic timer, as the limit
// point procedure does, and reports how far the period between arrivals strays from
// 50 ms: once on an idle machine and once with every core kept busy.
//   servo_timing [--port] [idle|loaded|both]
// With --port the frames go through the serial port to the simulated unit on a
// pseudo-terminal, otherwise through the simulated adapter's D2XX binding.

#include "bench_line.h"
#include "device/kelvo.h"
#include "device/periodic_timer.h"
#include "device/servo_frame.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
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
};

// Deviations of each arrival-to-arrival period from the nominal one.
Figures measure(BenchLine& line) {
    line.wakeUnit();
    Kelvo kelvo(line.port.get());
    kelvo.servoDrive(true);
    realSleep(100ms);

    const std::size_t before = line.servoArrivals().size();
    ChannelValues[2] = 1024;
    PeriodicTimer timer;
    ComDevice& port = *line.port;
    timer.start(period, [&port] { sendServoFrameThrough(port); });
    while (line.servoArrivals().size() < before + periods + 1) {
        std::this_thread::sleep_for(10ms);
    }
    timer.kill();
    realSleep(100ms);
    kelvo.servoDrive(false);

    const std::vector<std::int64_t> arrivals = line.servoArrivals();
    std::vector<double> deviations;
    for (std::size_t i = before + 1; i <= before + periods; ++i) {
        const double periodMs = static_cast<double>(arrivals[i] - arrivals[i - 1]) / 1e6;
        deviations.push_back(std::abs(periodMs - static_cast<double>(period.count())));
    }
    std::sort(deviations.begin(), deviations.end());
    const auto rank = [&](double fraction) {
        const auto index = static_cast<std::size_t>(std::ceil(fraction * deviations.size())) - 1;
        return deviations[std::min(index, deviations.size() - 1)];
    };
    return {rank(0.5), rank(0.99), deviations.back()};
}

bool report(const char* label, const Figures& figures) {
    const bool met = figures.p99Ms < p99TargetMs && figures.maxMs < maxTargetMs;
    std::printf("%-7s %zu periods of %lld ms: deviation median %.3f ms, p99 %.3f ms, max %.3f ms"
                " (%s)\n",
                label, periods, static_cast<long long>(period.count()), figures.medianMs,
                figures.p99Ms, figures.maxMs, met ? "meets target" : "MISSES target");
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
    const Figures figures = measure(line);
    stop = true;
    for (auto& burner : burners) {
        burner.join();
    }
    const std::string label = "loaded";
    std::printf("(%u busy threads)\n", cores);
    return report(label.c_str(), figures);
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
    std::printf("%s line; target: p99 deviation < %.1f ms, max < %.1f ms\n", line.name.c_str(),
                p99TargetMs, maxTargetMs);
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
