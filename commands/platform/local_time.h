#pragma once

#include <chrono>
#include <string>

// A moment as the user's clock shows it, "2025-01-02 12:04:05", in the time zone the
// operating system gives this process. Backups are named in UTC; people think in local
// time.
std::string localDateTime(std::chrono::system_clock::time_point when);
