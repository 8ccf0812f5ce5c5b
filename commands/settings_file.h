#pragma once

#include <string>

class SettingsImage;

// Writes all 85 bytes of the image. The file is replaced only once the new content is
// safely on disk, so a failure keeps the old file as it was. Returns noMessage or the
// message to show (write error, disk full, unknown error).
int saveSettingsFile(const SettingsImage& image, const std::string& path);

// Applies bytes 4 to 83 of the file to the image; the header and byte 84 stay. A file
// shorter than a record, or one of another model, is refused and the image is left
// untouched. Returns noMessage or the message to show.
int loadSettingsFile(SettingsImage& image, const std::string& path);

// The whole record of a file, header and last byte included, for tools that show,
// compare or rewrite files byte for byte. Only a file of exactly one record of this
// model is taken; otherwise the image is left untouched.
int readRecordFile(SettingsImage& image, const std::string& path);

// Whether the file can be opened for reading (the Open and Save As pre-checks).
bool fileIsReadable(const std::string& path);
