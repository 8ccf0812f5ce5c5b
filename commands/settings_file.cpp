#include "commands/settings_file.h"

#include "commands/outcome.h"
#include "resources/string_table.h"
#include "settings/settings_image.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool diskFullError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// Writes everything or reports the errno of the failure (0 for a write that made no
// progress without an error, which only a full device does).
int writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Reads up to size bytes; returns the count, or -1 with errno set.
ssize_t readUpTo(int fd, std::uint8_t* data, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::read(fd, data + total, size - total);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(total);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd; }
    // Closing can report a deferred write error (NFS, quotas), so it is checked.
    int close() {
        const int result = ::close(fd);
        fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd;
};

// The new content goes to a temporary file beside the target and replaces the target
// only once it is on disk, so a failure never leaves a truncated settings file.
int writeReplacing(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::string temporary = path + ".XXXXXX";
    FileDescriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0) {
        return msg::fileWriteError;
    }
    struct stat existing {};
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
    int error = ::fchmod(file.get(), mode) == 0 ? 0 : errno;
    if (error == 0) {
        error = writeAll(file.get(), data, size);
    }
    if (error == 0 && ::fsync(file.get()) != 0) {
        error = errno;
    }
    if (const int closeError = file.close(); error == 0) {
        error = closeError;
    }
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return diskFullError(error) ? msg::diskFull : msg::fileWriteError;
    }
    return noMessage;
}

} // namespace

int saveSettingsFile(const SettingsImage& image, const std::string& path) {
    // Replace what the name points at, not a symbolic link on the way, and respect a
    // file the user may not write.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
        if (::access(target.c_str(), W_OK) != 0) {
            return msg::fileWriteError;
        }
    }
    return writeReplacing(target, image.raw().data(), image.raw().size());
}

int loadSettingsFile(SettingsImage& image, const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return msg::fileReadError;
    }
    SettingsImage::Bytes buffer{};
    const ssize_t got = readUpTo(file.get(), buffer.data(), buffer.size());
    if (got < 0) {
        return diskFullError(errno) ? msg::diskFull : msg::fileReadError;
    }
    // A truncated record or another model's would otherwise reach a running engine.
    if (static_cast<std::size_t>(got) < buffer.size()) {
        return msg::fileReadError;
    }
    if (buffer[1] != SettingsImage::kelvoModelCode) {
        return msg::foreignModel;
    }
    std::copy(buffer.begin() + SettingsImage::firstBlockOffset,
              buffer.begin() + SettingsImage::verifyLast + 1,
              image.raw().begin() + SettingsImage::firstBlockOffset);
    return noMessage;
}

int readRecordFile(SettingsImage& image, const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return msg::fileReadError;
    }
    // One byte more than a record shows a file that is longer.
    std::array<std::uint8_t, SettingsImage::size + 1> buffer{};
    const ssize_t got = readUpTo(file.get(), buffer.data(), buffer.size());
    if (got < 0) {
        return diskFullError(errno) ? msg::diskFull : msg::fileReadError;
    }
    if (static_cast<std::size_t>(got) != SettingsImage::size) {
        return msg::fileReadError;
    }
    if (buffer[1] != SettingsImage::kelvoModelCode) {
        return msg::foreignModel;
    }
    std::copy_n(buffer.begin(), SettingsImage::size, image.raw().begin());
    return noMessage;
}

bool fileIsReadable(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return file.get() >= 0;
}
