#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Calls a function periodically on a thread of its own. Deadlines are absolute on the
// monotonic clock, so a late tick does not shift the ones after it.
class PeriodicTimer {
public:
    PeriodicTimer() = default;
    virtual ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // The first tick comes one period after the start. Starting a running timer
    // restarts it. Raises std::system_error when the thread cannot be created.
    virtual void start(std::chrono::milliseconds period, std::function<void()> tick);
    // Returns only when no tick is running any more and none will follow.
    void kill();
    bool running() const;

private:
    void run(std::chrono::milliseconds period, const std::function<void()>& tick);

    mutable std::mutex mutex;
    std::condition_variable wake;
    bool stopRequested = false;
    std::thread thread;
};
