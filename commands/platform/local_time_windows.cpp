#include "commands/platform/local_time.h"

#include <array>
#include <ctime>

std::string localDateTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    _tzset();
    if (localtime_s(&local, &seconds) != 0) {
        return {};
    }
    std::array<char, 32> text{};
    return {text.data(), std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", &local)};
}
