#include "commands/settings_file.h"

#include "commands/outcome.h"
#include "commands/platform/file_access.h"
#include "resources/string_table.h"
#include "settings/settings_image.h"

#include <algorithm>
#include <array>

namespace {

int messageFor(file_access::Failure failure, int otherwise) {
    switch (failure) {
    case file_access::Failure::none:
        return noMessage;
    case file_access::Failure::diskFull:
        return msg::diskFull;
    case file_access::Failure::other:
        break;
    }
    return otherwise;
}

} // namespace

int saveSettingsFile(const SettingsImage& image, const std::string& path) {
    return messageFor(file_access::replace(path, image.raw().data(), image.raw().size()),
                      msg::fileWriteError);
}

int loadSettingsFile(SettingsImage& image, const std::string& path) {
    SettingsImage::Bytes buffer{};
    const auto got = file_access::read(path, buffer.data(), buffer.size(), true);
    if (got.failure != file_access::Failure::none) {
        return messageFor(got.failure, msg::fileReadError);
    }
    // A truncated record or another model's would otherwise reach a running engine.
    if (got.count < buffer.size()) {
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
    // One byte more than a record shows a file that is longer.
    std::array<std::uint8_t, SettingsImage::size + 1> buffer{};
    const auto got = file_access::read(path, buffer.data(), buffer.size(), false);
    if (got.failure != file_access::Failure::none) {
        return messageFor(got.failure, msg::fileReadError);
    }
    if (got.count != SettingsImage::size) {
        return msg::fileReadError;
    }
    if (buffer[1] != SettingsImage::kelvoModelCode) {
        return msg::foreignModel;
    }
    std::copy_n(buffer.begin(), SettingsImage::size, image.raw().begin());
    return noMessage;
}

bool fileIsReadable(const std::string& path) {
    return file_access::readable(path);
}
