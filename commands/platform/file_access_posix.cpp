#include "commands/platform/file_access.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace file_access {
namespace {

Failure failureOf(int error) {
    if (error == 0) {
        return Failure::none;
    }
    return error == ENOSPC || error == EDQUOT || error == EFBIG ? Failure::diskFull
                                                                : Failure::other;
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
    FileDescriptor(FileDescriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;
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

// Opens an existing regular file. Anything else (a pipe, a device, a folder) is
// refused without blocking: opening a named pipe would otherwise wait for a writer.
FileDescriptor openRegularFile(const std::string& path, int access, struct stat* status) {
    FileDescriptor file(::open(path.c_str(), access | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat own {};
    struct stat& found = status ? *status : own;
    if (file.get() >= 0 && (::fstat(file.get(), &found) != 0 || !S_ISREG(found.st_mode))) {
        return FileDescriptor(-1);
    }
    return file;
}

// A new file beside the target, created with the usual 0666 so that the umask applies.
FileDescriptor createTemporaryBeside(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary =
            path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
        FileDescriptor file(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
        if (file.get() >= 0 || errno != EEXIST) {
            return file;
        }
    }
    return FileDescriptor(-1);
}

// A replaced file keeps its permissions, and its owner and group where the process may
// set them.
Failure writeReplacing(const std::string& path, const std::uint8_t* data, std::size_t size,
                       const struct stat* replaced) {
    std::string temporary;
    FileDescriptor file = createTemporaryBeside(path, temporary);
    if (file.get() < 0) {
        return Failure::other;
    }
    int error = 0;
    if (replaced) {
        // Owner first: changing it clears the set-id bits that the mode then restores.
        // Only a privileged process may hand the file to another owner; otherwise it
        // stays the user's, which is no reason to fail the save.
        [[maybe_unused]] const int handedOver =
            ::fchown(file.get(), replaced->st_uid, replaced->st_gid);
        if (::fchmod(file.get(), replaced->st_mode & 07777) != 0) {
            error = errno;
        }
    }
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
    }
    return failureOf(error);
}

} // namespace

ReadResult read(const std::string& path, std::uint8_t* data, std::size_t size, bool regularOnly) {
    FileDescriptor file = regularOnly ? openRegularFile(path, O_RDONLY, nullptr)
                                      : FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return {Failure::other, 0};
    }
    std::size_t total = 0;
    while (total < size) {
        const ssize_t got = ::read(file.get(), data + total, size - total);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const Failure failure = failureOf(errno);
            return {failure, total};
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return {Failure::none, total};
}

bool readable(const std::string& path) {
    return openRegularFile(path, O_RDONLY, nullptr).get() >= 0;
}

Failure replace(const std::string& path, const std::uint8_t* data, std::size_t size) {
    // Replace what the name points at, not a symbolic link on the way. An existing file
    // must be a regular file the user may write.
    std::string target = path;
    struct stat existing {};
    const struct stat* replaced = nullptr;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
        if (openRegularFile(target, O_WRONLY, &existing).get() < 0) {
            return Failure::other;
        }
        replaced = &existing;
    }
    return writeReplacing(target, data, size, replaced);
}

} // namespace file_access
