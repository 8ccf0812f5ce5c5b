#pragma once

// Holds the system timer at its finest resolution for the owner's lifetime, so that
// the servo frames keep their 50 ms rhythm. Only Windows needs asking; elsewhere the
// timers are fine-grained already and this does nothing. One implementation per
// platform.
class TimerResolution {
public:
    TimerResolution();
    ~TimerResolution();
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

    // The minimum timer period in milliseconds.
    unsigned period() const { return minimumPeriod; }

private:
    unsigned minimumPeriod = 1;
};
