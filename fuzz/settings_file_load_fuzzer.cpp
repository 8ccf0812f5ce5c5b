// Any file content either loads bytes 4 to 83 of its first record and nothing else, or
// is refused with the image left exactly as it was.

#include "commands/outcome.h"
#include "commands/settings_file.h"
#include "settings/settings_image.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

struct TemporaryFile {
    TemporaryFile() {
        // A file in memory keeps the runs fast; every input rewrites it.
        const char* folder = std::getenv("TMPDIR");
        if (folder == nullptr) {
            folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        }
        path = std::string(folder) + "/varnel-fuzz-XXXXXX";
        fd = ::mkstemp(path.data());
        if (fd < 0) {
            std::abort();
        }
    }
    ~TemporaryFile() {
        ::close(fd);
        ::unlink(path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void replaceWith(const std::uint8_t* data, std::size_t size) const {
        if (::ftruncate(fd, 0) != 0) {
            std::abort();
        }
        std::size_t done = 0;
        while (done < size) {
            const ssize_t written =
                ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
            if (written <= 0) {
                std::abort();
            }
            done += static_cast<std::size_t>(written);
        }
    }

    std::string path;
    int fd = -1;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TemporaryFile file;
    file.replaceWith(data, size);

    SettingsImage image;
    for (std::size_t i = 0; i < image.raw().size(); ++i) {
        image.raw()[i] = static_cast<std::uint8_t>(0xC3 ^ i);
    }
    const SettingsImage before = image;
    const int message = loadSettingsFile(image, file.path);

    if (message != noMessage) {
        if (!(image == before)) {
            std::abort();
        }
        return 0;
    }
    if (size < image.raw().size() || data[1] != SettingsImage::kelvoModelCode) {
        std::abort();
    }
    for (std::size_t i = 0; i < image.raw().size(); ++i) {
        const bool fromFile =
            i >= SettingsImage::firstBlockOffset && i <= SettingsImage::verifyLast;
        if (image.raw()[i] != (fromFile ? data[i] : before.raw()[i])) {
            std::abort();
        }
    }
    return 0;
}
