#include "timer_resolution.h"

#ifdef _WIN32
#include <timeapi.h>
#include <windows.h>

TimerResolution::TimerResolution() {
    TIMECAPS caps{};
    timeGetDevCaps(&caps, sizeof caps); // a failed query leaves the period at 1 ms
    if (caps.wPeriodMin != 0) {
        minimumPeriod = caps.wPeriodMin;
    }
    timeBeginPeriod(minimumPeriod);
}

TimerResolution::~TimerResolution() {
    timeEndPeriod(minimumPeriod);
}

#else

TimerResolution::TimerResolution() = default;
TimerResolution::~TimerResolution() = default;

#endif
