#include "device/platform/timer_resolution.h"

// The timers here are fine-grained already.
TimerResolution::TimerResolution() = default;
TimerResolution::~TimerResolution() = default;
