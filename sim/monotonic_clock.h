#pragma once

#include <cstdint>
#include <ctime>

namespace sim {

// Nanoseconds on the clock that frame timestamps are taken from, in every face of the
// simulated unit, so that their figures compare.
inline std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace sim
