#include "device/platform/terminal.h"

#include <unistd.h>

bool standardInputIsTerminal() {
    return ::isatty(STDIN_FILENO) != 0;
}

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}
