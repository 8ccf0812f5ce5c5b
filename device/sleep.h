#pragma once

#include <chrono>
#include <functional>

// Every pause of the device conversation goes through one of these, so tests can
// record the pauses instead of spending them.
using SleepFunction = std::function<void(std::chrono::milliseconds)>;

void realSleep(std::chrono::milliseconds duration);
