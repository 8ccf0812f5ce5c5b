#pragma once

// The wait cursor, up for as long as the object lives. Windows asks each window for
// its cursor whenever the mouse moves (WM_SETCURSOR); the main window answers with
// the wait cursor while waitCursorShown() is true.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

bool waitCursorShown();
