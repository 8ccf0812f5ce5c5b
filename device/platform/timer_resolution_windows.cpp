#include "device/platform/timer_resolution.h"

#include <windows.h>
// After windows.h, which it needs.
#include <timeapi.h>

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
