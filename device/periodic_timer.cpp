#include "periodic_timer.h"

#ifdef __linux__
#include <sys/prctl.h>
#endif

PeriodicTimer::~PeriodicTimer() { kill(); }

void PeriodicTimer::start(std::chrono::milliseconds period, std::function<void()> tick) {
    kill();
    {
        std::lock_guard lock(mutex);
        stopRequested = false;
    }
    thread = std::thread(&PeriodicTimer::run, this, period, std::move(tick));
}

void PeriodicTimer::kill() {
    {
        std::lock_guard lock(mutex);
        stopRequested = true;
    }
    wake.notify_all();
    // A tick that kills its own timer cannot wait for itself; the thread ends after the
    // tick returns and the next start or the destructor joins it.
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) {
        thread.join();
    }
}

bool PeriodicTimer::running() const {
    std::lock_guard lock(mutex);
    return thread.joinable() && !stopRequested;
}

void PeriodicTimer::run(std::chrono::milliseconds period, std::function<void()> tick) {
#ifdef __linux__
    // The default 50 us timer slack lets the kernel batch wake-ups late; the servo
    // frames want their deadline, and asking for less slack needs no privilege.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + period;
    std::unique_lock lock(mutex);
    while (!wake.wait_until(lock, deadline, [this] { return stopRequested; })) {
        lock.unlock();
        try {
            tick();
        } catch (...) {
            // An exception must not end the process from a thread nobody joins yet;
            // the tick reports its own failures.
        }
        lock.lock();
        deadline += period;
        // A tick that overran whole periods skips them instead of firing a burst.
        if (const auto now = Clock::now(); deadline <= now) {
            deadline += ((now - deadline) / period + 1) * period;
        }
    }
}
