#pragma once

#include <string>
#include <string_view>

// The program's messages, looked up by number. Texts are UTF-8.
namespace msg {
inline constexpr int aboutMenuItem = 101;
inline constexpr int foreignModel = 102;
inline constexpr int readError = 103;
inline constexpr int writeError = 104;
inline constexpr int written = 105;
inline constexpr int initializeQuestion = 106;
inline constexpr int fileReadError = 108;
inline constexpr int overwritePrefix = 109;
inline constexpr int overwriteSuffix = 110;
inline constexpr int fileWriteError = 112;
inline constexpr int diskFull = 113;
inline constexpr int unknownError = 114;
inline constexpr int connected = 117;
inline constexpr int driverMissing = 118;
inline constexpr int adapterMissing = 119;
inline constexpr int adapterFault = 120;
inline constexpr int setLimitPoint1 = 121;
inline constexpr int setLimitPoint2 = 122;
inline constexpr int pressWrite = 123;
inline constexpr int outOfRange = 130;
inline constexpr int sameDirection = 131;
inline constexpr int limitCancelled = 132;
inline constexpr int writeBeforeExit = 133;
inline constexpr int changesDiscarded = 134;
// The tty exists but this user may not open it; the text names the device.
inline constexpr int portNoPermission = 140;
// Another program holds the tty; the text names the device.
inline constexpr int portBusy = 141;
inline constexpr int limitLabelUp = 2000;
inline constexpr int limitLabelDown = 2001;
} // namespace msg

// The text of a message; an empty string for a number the table does not hold.
const char* messageText(int id);

// The text of a message about a device: its "%1" replaced by the device's name.
std::string messageText(int id, std::string_view device);
