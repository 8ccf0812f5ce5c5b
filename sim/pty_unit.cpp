#include "sim/pty_unit.h"

#include <asm/termbits.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
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

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

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
    unit.powerOn(startingRecord());
    commitsPersisted = unit.commits();
    const FaultSetting setting = faultFromEnvironment();
    setFault(setting.fault, setting.argument);
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
        // Read and answered under the lock, which the controls and a closing line
        // take too.
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
    if (fault == SIM_FAULT_UNPLUGGED_AFTER) {
        const auto left = receivedAtFault + static_cast<std::uint64_t>(faultArgument) - received;
        if (count >= left) {
            received += left;
            closeLine();
            return;
        }
    }
    received += count;

    termios2 line{};
    understood =
        ioctl(master, TCGETS2, &line) == 0 && unitLine(line) && fault != SIM_FAULT_WRONG_LINE;
    const std::int64_t now = monotonicNs();
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> answer;
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(data[i]);
        if (!understood) {
            continue;
        }
        answer.clear();
        unit.receive(data[i], now, answer);
        if (answer.empty()) {
            continue;
        }
        // The echo of the request and the reply together are cut to N bytes.
        if (fault == SIM_FAULT_SHORT_REPLY) {
            const std::size_t full = UnitModel::requestSize + answer.size();
            const auto keep = static_cast<std::size_t>(std::max(faultArgument, 0));
            const std::size_t drop =
                keep < full ? std::min(full - keep, answer.size() + out.size()) : 0;
            const std::size_t fromAnswer = std::min(drop, answer.size());
            answer.resize(answer.size() - fromAnswer);
            out.resize(out.size() - std::min(drop - fromAnswer, out.size()));
        }
        out.insert(out.end(), answer.begin(), answer.end());
    }
    sendOrDrop(master, out);
    if (unit.commits() != commitsPersisted) {
        commitsPersisted = unit.commits();
        persistRecord(unit.record());
    }
}

std::size_t PtyUnit::bytesForProgram() {
    std::lock_guard lock(mutex);
    int queued = 0;
    if (slaveHold < 0 || ioctl(slaveHold, FIONREAD, &queued) != 0) {
        return 0;
    }
    return static_cast<std::size_t>(queued);
}

void PtyUnit::setFault(int newFault, int argument) {
    std::lock_guard lock(mutex);
    fault = newFault;
    faultArgument = argument;
    receivedAtFault = received;
    unit.setFault(newFault, argument);
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
    return unit.record();
}

void PtyUnit::setRecord(const Record& record) {
    std::lock_guard lock(mutex);
    unit.setRecord(record);
}

bool PtyUnit::servoDriveOn() {
    std::lock_guard lock(mutex);
    return unit.servoDriveOn();
}

std::vector<SimServoFrame> PtyUnit::servoFrames() {
    std::lock_guard lock(mutex);
    return {unit.servoFrames().begin(), unit.servoFrames().end()};
}

bool PtyUnit::lineWasUnderstood() {
    std::lock_guard lock(mutex);
    return understood;
}

std::uint64_t PtyUnit::receivedBytes() {
    std::lock_guard lock(mutex);
    return received;
}

} // namespace sim
