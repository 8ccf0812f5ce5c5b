#pragma once

#include <QApplication>

// The wait cursor, up for as long as the object lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Marks a command handler as running for as long as the object lives.
class CommandScope {
public:
    explicit CommandScope(bool& running) : running(running), outer(running) { running = true; }
    ~CommandScope() { running = outer; }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    bool& running;
    bool outer;
};
