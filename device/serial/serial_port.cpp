#include "device/serial/serial_port.h"

#include <linux/serial.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// What is left of the deadline, for poll; never negative.
int msUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

template <class Error> [[noreturn]] void fail() {
    throw Error{};
}

// The driver may refuse low latency (a pty does); the line then works as before, with
// replies arriving a few milliseconds later.
void askForLowLatency(int fd) {
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ioctl(fd, TIOCSSERIAL, &serial);
    }
}

// Waits until fd is ready for events or the deadline passes. False on time-out;
// raises Error when the device has gone.
template <class Error> bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, msUntil(deadline));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail<Error>();
        }
        if (ready == 0) {
            return false;
        }
        // An unplugged adapter hangs the tty up: it reports itself ready, and the read
        // or write that follows tells the rest.
        if ((entry.revents & (POLLERR | POLLNVAL)) != 0) {
            fail<Error>();
        }
        return true;
    }
}

} // namespace

termios2 unitLineSettings(const termios2& current) {
    termios2 line = current;
    line.c_iflag &=
        ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                               IXOFF | IXANY | INPCK | IUCLC | IMAXBEL | IUTF8);
    line.c_iflag |= IGNPAR;
    line.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    line.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN |
                                           NOFLSH | TOSTOP | ECHOCTL | ECHOKE);
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARODD | CRTSCTS | CBAUD | (CBAUD << IBSHIFT) |
                                           CMSPAR | HUPCL);
    line.c_cflag |= CS8 | PARENB | CSTOPB | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    line.c_ispeed = ComDevice::baudRate;
    line.c_ospeed = ComDevice::baudRate;
    // Reads return at once with what is there; the deadline is the port's own.
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    return line;
}

SerialPort::SerialPort(std::string path, std::chrono::milliseconds timeout)
    : devicePath(std::move(path)), timeout(timeout) {}

SerialPort::~SerialPort() {
    SerialPort::close();
}

void SerialPort::open() {
    close();
    // Non-blocking, so that a tty waiting for a carrier does not hold the open up.
    const int opened = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        if (errno == EACCES || errno == EPERM) {
            fail<AccessDeniedError>();
        }
        if (errno == EBUSY) {
            fail<BusyError>();
        }
        fail<OpenError>();
    }
    fd = opened;
    // Exclusive mode keeps a second program out of the tty, the lock keeps out those
    // that follow the lock convention, which exclusive mode does not stop for root.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            abandonOpen<BusyError>();
        }
        abandonOpen<OpenError>();
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        abandonOpen<OpenError>();
    }
    termios2 current{};
    if (ioctl(fd, TCGETS2, &current) != 0) {
        abandonOpen<OpenError>();
    }
    const termios2 line = unitLineSettings(current);
    if (ioctl(fd, TCSETS2, &line) != 0) {
        abandonOpen<OpenError>();
    }
    askForLowLatency(fd);
    // Whatever arrived before the line was set is noise.
    ioctl(fd, TCFLSH, TCIFLUSH);
}

template <class Error> void SerialPort::abandonOpen() {
    // A failure after the open must not leave the tty open behind the error.
    close();
    throw Error{};
}

void SerialPort::close() {
    if (fd < 0) {
        return;
    }
    // Exclusive mode outlives this descriptor while anything else holds the tty open.
    ioctl(fd, TIOCNXCL);
    ::close(fd);
    fd = -1;
}

std::uint32_t SerialPort::read(std::uint8_t* buffer, std::uint32_t count) {
    if (fd < 0) {
        fail<ReadError>();
    }
    const auto deadline = Clock::now() + timeout;
    std::uint32_t received = 0;
    while (received < count) {
        if (!waitFor<ReadError>(fd, POLLIN, deadline)) {
            break;
        }
        const ssize_t got = ::read(fd, buffer + received, count - received);
        if (got > 0) {
            received += static_cast<std::uint32_t>(got);
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            // Ready yet nothing to read: the tty was hung up. EIO and ENODEV are the
            // unplugged adapter.
            fail<ReadError>();
        }
    }
    return received;
}

void SerialPort::write(const std::uint8_t* buffer, std::uint32_t count) {
    if (fd < 0) {
        fail<WriteError>();
    }
    const auto deadline = Clock::now() + timeout;
    std::uint32_t sent = 0;
    while (sent < count) {
        if (!waitFor<WriteError>(fd, POLLOUT, deadline)) {
            // A frame that did not leave whole within the time-out has not been sent.
            fail<WriteError>();
        }
        const ssize_t put = ::write(fd, buffer + sent, count - sent);
        if (put > 0) {
            sent += static_cast<std::uint32_t>(put);
        } else if (put == 0 || (errno != EAGAIN && errno != EINTR)) {
            fail<WriteError>();
        }
    }
}

void SerialPort::purgeReceive() {
    if (fd < 0 || ioctl(fd, TCFLSH, TCIFLUSH) != 0) {
        fail<ConnectionError>();
    }
}
