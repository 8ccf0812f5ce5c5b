#include "periodic_timer.h"

#ifdef __linux__
#include <cstdint>
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

#ifdef __linux__
// The kernel's sched_attr, which the C library of older systems does not declare.
struct SchedulingAttributes {
    std::uint32_t size;
    std::uint32_t policy;
    std::uint64_t flags;
    std::int32_t nice;
    std::uint32_t priority;
    std::uint64_t runtime;
    std::uint64_t deadline;
    std::uint64_t period;
};
#endif

// Makes the calling thread's wake-ups prompt. Without privilege: a tiny timer slack,
// so the kernel does not defer the wake-up to batch it with others, and a short
// scheduler slice, which lets a waking thread preempt busy threads of the same
// priority instead of waiting for their slice to run out. Either request may be
// refused by an older kernel; the timer then keeps the default behaviour. Returns
// whether the thread runs at a real-time priority.
bool preferPromptWakeUps() {
#ifdef __linux__
    // Where the system grants it (root, or an RLIMIT_RTPRIO allowance), a modest
    // real-time priority keeps the servo frames on time whatever else the machine runs.
    sched_param realTime{};
    realTime.sched_priority = 10;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &realTime) == 0) {
        return true;
    }
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    SchedulingAttributes attributes{};
    attributes.size = sizeof attributes;
    attributes.policy = 0; // SCHED_OTHER: no real-time privilege needed
    // The thread keeps its niceness; changing it could need a privilege and would fail
    // the whole request.
    attributes.nice = getpriority(PRIO_PROCESS, 0);
    attributes.runtime = 100'000; // ns
    syscall(SYS_sched_setattr, 0, &attributes, 0U);
#endif
    return false;
}

} // namespace

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
    // At a real-time priority the sleep ends a little early and the rest is waited out
    // awake: waking a processor that went idle can take longer than a frame may be
    // late. Without that priority busy waiting would only lose the processor to others.
    const Clock::duration awakeMargin =
        preferPromptWakeUps() ? std::chrono::microseconds(1000) : Clock::duration::zero();
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
