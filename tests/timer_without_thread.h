#pragma once

#include "device/periodic_timer.h"

#include <system_error>

// A frame timer whose thread cannot be created, as when the process may start no more.
class TimerWithoutThread : public PeriodicTimer {
public:
    void start(std::chrono::milliseconds, std::function<void()>) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};
