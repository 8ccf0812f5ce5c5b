#include "periodic_timer.h"

#include "device/platform/prompt_wake_ups.h"

PeriodicTimer::~PeriodicTimer() {
    kill();
}

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

void PeriodicTimer::run(std::chrono::milliseconds period, const std::function<void()>& tick) {
    using Clock = std::chrono::steady_clock;
    const PromptWakeUps promptWakeUps;
    const Clock::duration awakeMargin = promptWakeUps.awakeMargin();
    auto deadline = Clock::now() + period;
    std::unique_lock lock(mutex);
    while (!wake.wait_until(lock, deadline - awakeMargin, [this] { return stopRequested; })) {
        lock.unlock();
        while (Clock::now() < deadline) {
            // waiting out the margin
        }
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
