#pragma once

#include "dialog/dialog_view.h"

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

// The wait cursor, up for as long as the object lives.
class BusyScope {
public:
    explicit BusyScope(DialogView& view) : view(view) { view.showBusy(true); }
    ~BusyScope() { view.showBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DialogView& view;
};
