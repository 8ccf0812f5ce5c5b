// varnel-sim-serial: the simulated unit on a pseudo-terminal. Prints the terminal's
// path on the first line of its output, then serves it until interrupted, until the
// line is unplugged by a fault, or until its input closes. The environment sets the
// record file and the fault as for the simulated adapter.

#include "sim/pty_unit.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <poll.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int) {
    interrupted = 1;
}

} // namespace

int main() {
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    try {
        sim::PtyUnit unit;
        std::printf("%s\n", unit.slavePath().c_str());
        std::fflush(stdout);
        unit.start();
        while (interrupted == 0 && !unit.unplugged()) {
            // Sleeps until a signal or a quarter second passes.
            poll(nullptr, 0, 250);
        }
        unit.stop();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "varnel-sim-serial: %s\n", error.what());
        return 1;
    }
    return 0;
}
