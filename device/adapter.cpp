#include "device/adapter.h"

#include "device/d2xx/zabro.h"

#include <atomic>

namespace {

// Constant-initialised, so it exists before any code of the program runs.
constinit Zabro unboundAdapter;
constinit std::atomic<ComDevice*> chosen{nullptr};

} // namespace

ComDevice& theAdapter() {
    ComDevice* port = chosen.load(std::memory_order_acquire);
    if (port == nullptr) {
        port = &unboundAdapter;
    }
    return *port;
}

void chooseAdapter(ComDevice* port) {
    chosen.store(port, std::memory_order_release);
}
