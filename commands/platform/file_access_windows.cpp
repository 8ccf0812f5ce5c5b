#include "commands/platform/file_access.h"

#include "device/platform/wide_text.h"

#include <atomic>
#include <utility>
#include <windows.h>

namespace file_access {
namespace {

Failure failureOf(DWORD error) {
    if (error == ERROR_SUCCESS) {
        return Failure::none;
    }
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? Failure::diskFull
                                                                       : Failure::other;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle(handle) {}
    ~Handle() {
        if (valid()) {
            CloseHandle(handle);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : handle(std::exchange(other.handle, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&&) = delete;
    HANDLE get() const { return handle; }
    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    // Closing can report a deferred write error, so it is checked.
    DWORD close() {
        const BOOL closed = CloseHandle(std::exchange(handle, INVALID_HANDLE_VALUE));
        return closed ? ERROR_SUCCESS : GetLastError();
    }

private:
    HANDLE handle;
};

// Others may keep reading, writing or even renaming the file meanwhile, as they may on
// Linux; a folder cannot be opened this way, and a device or pipe is refused.
Handle openExisting(const std::wstring& path, DWORD access, bool regularOnly) {
    Handle file(CreateFileW(path.c_str(), access,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid() && regularOnly && GetFileType(file.get()) != FILE_TYPE_DISK) {
        return Handle(INVALID_HANDLE_VALUE);
    }
    return file;
}

// The target itself where the path reaches it through a link.
std::wstring finalPath(const Handle& file, const std::wstring& path) {
    std::wstring resolved(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), resolved.data(),
                                                       static_cast<DWORD>(resolved.size()), 0);
        if (length == 0) {
            return path;
        }
        if (length < resolved.size()) {
            resolved.resize(length);
            return resolved;
        }
        resolved.resize(length);
    }
}

Handle createTemporaryBeside(const std::wstring& path, std::wstring& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter.fetch_add(1));
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid() || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return Handle(INVALID_HANDLE_VALUE);
}

DWORD writeAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_DISK_FULL;
        }
        data += written;
        size -= written;
    }
    return ERROR_SUCCESS;
}

} // namespace

ReadResult read(const std::string& path, std::uint8_t* data, std::size_t size, bool regularOnly) {
    const std::wstring wide = widen(path);
    Handle file =
        wide.empty() ? Handle(INVALID_HANDLE_VALUE) : openExisting(wide, GENERIC_READ, regularOnly);
    if (!file.valid()) {
        return {Failure::other, 0};
    }
    std::size_t total = 0;
    while (total < size) {
        const std::size_t left = size - total;
        const DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!ReadFile(file.get(), data + total, chunk, &got, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
                break;
            }
            return {failureOf(error), total};
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return {Failure::none, total};
}

bool readable(const std::string& path) {
    const std::wstring wide = widen(path);
    return !wide.empty() && openExisting(wide, GENERIC_READ, true).valid();
}

Failure replace(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::wstring target = widen(path);
    if (target.empty()) {
        return Failure::other;
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        // An existing target must be a regular file the user may write.
        const Handle existing = openExisting(target, GENERIC_WRITE, true);
        if (!existing.valid() || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Failure::other;
        }
        target = finalPath(existing, target);
    }
    std::wstring temporary;
    Handle file = createTemporaryBeside(target, temporary);
    if (!file.valid()) {
        return Failure::other;
    }
    DWORD error = writeAll(file.get(), data, size);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.get())) {
        error = GetLastError();
    }
    if (const DWORD closeError = file.close(); error == ERROR_SUCCESS) {
        error = closeError;
    }
    // ReplaceFileW keeps the replaced file's attributes and access rights; a new file
    // takes the folder's. Both replace in one step, so the target is never missing.
    if (error == ERROR_SUCCESS &&
        !(exists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                 : MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
    }
    return failureOf(error);
}

} // namespace file_access
