#include "device/platform/prompt_wake_ups.h"

#include <cstdint>
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

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

} // namespace

// Where the system grants it (root, or an RLIMIT_RTPRIO allowance), a modest real-time
// priority keeps the servo frames on time whatever else the machine runs; at that
// priority the sleep ends a little early and the rest is waited out awake, since waking
// a processor that went idle can take longer than a frame may be late.
//
// An ordinary user gets no such priority, and none is needed: a tiny timer slack, so
// the kernel does not defer the wake-up to batch it with others, and a short scheduler
// slice, which lets the waking thread preempt busy threads of the same priority at once.
// Without the real-time priority the thread does not wait awake. The fair scheduler
// lets a woken thread preempt only while it has used less than its share; every
// microsecond spent waiting awake is charged to that share, and on a busy machine a
// thread that waited awake was the one preempted at the next scheduler tick, frames
// 2 to 4 ms late, where one that slept to the deadline was not.
// Any of these requests may be refused; the thread then keeps the default behaviour.
PromptWakeUps::PromptWakeUps() {
    sched_param realTime{};
    realTime.sched_priority = 10;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &realTime) == 0) {
        margin = std::chrono::microseconds(1000);
        return;
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
}

PromptWakeUps::~PromptWakeUps() = default;
