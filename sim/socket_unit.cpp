#include "sim/socket_unit.h"

#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace sim {

namespace {

constexpr int pollSliceMs = 50;

// QEMU's chardev reads as the emulated chip has room; the unit never waits longer
// than the write takes.
void sendAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

// Waits for fd to be readable, a slice at a time, until stopping is set.
bool readable(int fd, const volatile std::sig_atomic_t& stopping) {
    while (stopping == 0) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, pollSliceMs);
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
    return false;
}

} // namespace

SocketUnit::SocketUnit(const std::string& socketPath, std::string tracePath)
    : path(socketPath), trace(std::move(tracePath)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path)) {
        throw std::runtime_error("socket path too long: " + socketPath);
    }
    socketPath.copy(address.sun_path, socketPath.size());
    ::unlink(socketPath.c_str());
    listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0 ||
        ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener, 1) != 0) {
        if (listener >= 0) {
            ::close(listener);
        }
        throw std::runtime_error("cannot listen on " + socketPath);
    }
}

SocketUnit::~SocketUnit() {
    ::close(listener);
    ::unlink(path.c_str());
}

void SocketUnit::serve() {
    if (!readable(listener, stopping)) {
        return;
    }
    const int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        throw std::runtime_error("no connection on " + path);
    }
    std::vector<std::uint8_t> buffer(4096);
    while (readable(connection, stopping)) {
        const ssize_t got = ::recv(connection, buffer.data(), buffer.size(), 0);
        if (got == 0 || (got < 0 && errno != EINTR)) {
            break;
        }
        if (got > 0) {
            handle(connection, buffer.data(), static_cast<std::size_t>(got));
        }
    }
    ::close(connection);
}

void SocketUnit::handle(int connection, const std::uint8_t* data, std::size_t count) {
    if (pulled) {
        return;
    }
    // QEMU writes the trace of a control request before it passes on any byte the
    // guest sends after it, so the file is up to date for these bytes.
    const ChipSettings& now = trace.update();
    const bool match = unitSettings(now);
    if (!reportedOnce || !(now == reported)) {
        reported = now;
        reportedOnce = true;
        if (reportSettings) {
            reportSettings(now, match);
        }
    }
    std::vector<std::uint8_t> out;
    if (!unitLine.receive(data, count, match, out)) {
        pulled = true;
        if (unplugLine) {
            unplugLine();
        } else {
            ::shutdown(connection, SHUT_RDWR);
        }
        return;
    }
    sendAll(connection, out);
    if (unitLine.unit().commits() != commitsReported) {
        commitsReported = unitLine.unit().commits();
        if (reportStored) {
            reportStored(unitLine.unit().record());
        }
    }
}

} // namespace sim
