#include "device/platform/terminal.h"

#include <windows.h>

namespace {

// _isatty says yes for every character device, NUL and serial ports included; only a
// console has a console mode.
bool isConsole(DWORD standardHandle) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

} // namespace

bool standardInputIsTerminal() {
    return isConsole(STD_INPUT_HANDLE);
}

bool standardErrorIsTerminal() {
    return isConsole(STD_ERROR_HANDLE);
}
