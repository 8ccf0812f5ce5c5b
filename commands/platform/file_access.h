#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The operating system's part of reading and saving settings files, one implementation
// per platform. Paths are UTF-8 everywhere in the program.
namespace file_access {

enum class Failure { none, diskFull, other };

struct ReadResult {
    Failure failure = Failure::none;
    std::size_t count = 0;
};

// Reads up to size bytes from the start of a file. With regularOnly, anything but a
// regular file (a pipe, a device, a folder) is refused without blocking on it.
ReadResult read(const std::string& path, std::uint8_t* data, std::size_t size, bool regularOnly);

// Whether the path names a regular file this process may open for reading.
bool readable(const std::string& path);

// Replaces the file the path names (through any link), or creates it, with the data.
// The new content goes to a temporary file beside the target and replaces the target
// only once it is on disk: on any failure the old file is intact and the temporary
// file is gone. A replaced file keeps its permissions. An existing target that is not
// a regular file the user may write is refused.
Failure replace(const std::string& path, const std::uint8_t* data, std::size_t size);

} // namespace file_access
