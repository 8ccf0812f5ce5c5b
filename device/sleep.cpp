#include "sleep.h"

#include <thread>

void realSleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}
