#include "sim/pty_unit.h"

#include <asm/termbits.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace sim {

namespace {

constexpr int pollSliceMs = 20;
constexpr std::uint32_t unitBaudRate = 100000;

// The pty driver keeps the data bits and parity to itself (it reports CS8 without
// PARENB whatever was set), so only the rest of the line can be checked here.
bool unitLine(const termios2& line) {
    const bool rate = (line.c_cflag & CBAUD) == BOTHER && line.c_ospeed == unitBaudRate;
    const bool frame = (line.c_cflag & CSTOPB) != 0 && (line.c_cflag & CREAD) != 0;
    const bool noFlowControl =
        (line.c_cflag & CRTSCTS) == 0 && (line.c_iflag & (IXON | IXOFF)) == 0;
    const bool raw = (line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0 &&
                     (line.c_oflag & OPOST) == 0 &&
                     (line.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | PARMRK)) == 0;
    return rate && frame && noFlowControl && raw;
}

// A line has no flow control: what the program's side has no room for is lost, as
// when a tty's input buffer overflows, and the unit never waits for the program.
void sendOrDrop(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

} // namespace

PtyUnit::PtyUnit() {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        fcntl(master, F_SETFL, O_NONBLOCK) != 0) {
        closeLine();
        throw std::runtime_error("no pseudo-terminal");
    }
    std::array<char, 128> name{};
    if (ptsname_r(master, name.data(), name.size()) != 0) {
        closeLine();
        throw std::runtime_error("no pseudo-terminal name");
    }
    slave = name.data();
    slaveHold = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
}

PtyUnit::~PtyUnit() {
    stop();
    closeLine();
}

void PtyUnit::start() {
    serving = true;
    server = std::thread([this] { serve(); });
}

void PtyUnit::stop() {
    stopping = true;
    if (server.joinable()) {
        server.join();
    }
}

void PtyUnit::serve() {
    serving = true;
    std::vector<std::uint8_t> buffer(4096);
    while (!stopping) {
        int fd = -1;
        {
            std::lock_guard lock(mutex);
            if (unplugRequested) {
                closeLine();
            }
            fd = master;
        }
        if (fd < 0) {
            break;
        }
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, pollSliceMs) <= 0 || (entry.revents & POLLIN) == 0) {
            continue;
        }
        // Read and answered under the lock, so that waitUntilAnswered() sees bytes
        // either still queued or answered, never in between.
        std::lock_guard lock(mutex);
        if (master < 0) {
            continue;
        }
        const ssize_t got = ::read(master, buffer.data(), buffer.size());
        if (got > 0) {
            handle(buffer.data(), static_cast<std::size_t>(got));
        }
    }
    serving = false;
}

void PtyUnit::handle(const std::uint8_t* data, std::size_t count) {
    termios2 settings{};
    const bool match = ioctl(master, TCGETS2, &settings) == 0 && unitLine(settings);
    std::vector<std::uint8_t> out;
    if (!line.receive(data, count, match, out)) {
        closeLine();
        return;
    }
    sendOrDrop(master, out);
}

void PtyUnit::waitUntilAnswered() {
    for (;;) {
        {
            std::lock_guard lock(mutex);
            int queued = 0;
            if (master < 0 || ioctl(master, FIONREAD, &queued) != 0 || queued == 0) {
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    // The answer passes through the kernel's buffers on its way to the program, moved
    // on by a worker thread; on a loaded machine that can take tens of milliseconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void PtyUnit::setFault(int newFault, int argument) {
    std::lock_guard lock(mutex);
    line.setFault(newFault, argument);
}

void PtyUnit::unplug() {
    if (!serving) {
        std::lock_guard lock(mutex);
        closeLine();
        return;
    }
    unplugRequested = true;
    while (serving && !unplugged()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool PtyUnit::unplugged() {
    std::lock_guard lock(mutex);
    return master < 0;
}

void PtyUnit::closeLine() {
    if (slaveHold >= 0) {
        ::close(slaveHold);
        slaveHold = -1;
    }
    if (master >= 0) {
        ::close(master);
        master = -1;
    }
}

Record PtyUnit::record() {
    std::lock_guard lock(mutex);
    return line.unit().record();
}

void PtyUnit::setRecord(const Record& record) {
    std::lock_guard lock(mutex);
    line.unit().setRecord(record);
}

bool PtyUnit::servoDriveOn() {
    std::lock_guard lock(mutex);
    return line.unit().servoDriveOn();
}

std::vector<SimServoFrame> PtyUnit::servoFrames() {
    std::lock_guard lock(mutex);
    return {line.unit().servoFrames().begin(), line.unit().servoFrames().end()};
}

bool PtyUnit::lineWasUnderstood() {
    std::lock_guard lock(mutex);
    return line.understood();
}

std::uint64_t PtyUnit::receivedBytes() {
    std::lock_guard lock(mutex);
    return line.received();
}

} // namespace sim
