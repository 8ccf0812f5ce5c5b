#pragma once

#include <chrono>

// Makes the calling thread's timed wake-ups as prompt as the system allows, for as long
// as the object lives; one implementation per platform.
class PromptWakeUps {
public:
    PromptWakeUps();
    ~PromptWakeUps();
    PromptWakeUps(const PromptWakeUps&) = delete;
    PromptWakeUps& operator=(const PromptWakeUps&) = delete;

    // How long before a deadline the sleep should end so that the rest is waited out
    // awake: zero where spinning would only lose the processor to other threads.
    std::chrono::microseconds awakeMargin() const { return margin; }

private:
    std::chrono::microseconds margin{0};
};
