#include "device/timer_resolution.h"

// High-resolution timers need no asking here.
TimerResolution::TimerResolution() = default;
TimerResolution::~TimerResolution() = default;
