#include "wait_cursor.h"

#include <windows.h>

namespace {

// Only the window's thread shows and asks; commands may nest.
int depth = 0;
HCURSOR before = nullptr;

} // namespace

WaitCursor::WaitCursor() {
    if (depth++ == 0) {
        before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
}

WaitCursor::~WaitCursor() {
    if (--depth == 0) {
        SetCursor(before != nullptr ? before : LoadCursorW(nullptr, IDC_ARROW));
    }
}

bool waitCursorShown() {
    return depth > 0;
}
