#include "device/platform/prompt_wake_ups.h"

#include <windows.h>
// After windows.h, which it needs.
#include <timeapi.h>

// The system timer ticks every 15.6 ms unless a program asks for finer; 1 ms is the
// finest the multimedia timer grants. Sleeps still end on a tick, so the last stretch
// before a deadline is waited out awake, at a priority that keeps other threads of the
// process from taking the processor then.
PromptWakeUps::PromptWakeUps() {
    timeBeginPeriod(1);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    margin = std::chrono::microseconds(1500);
}

PromptWakeUps::~PromptWakeUps() {
    timeEndPeriod(1);
}
