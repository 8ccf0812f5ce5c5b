#pragma once

#include <functional>

#include <windows.h>

// Runs `step` on a worker thread while the calling thread, the window's, goes on
// dispatching messages: the window keeps painting while the adapter waits for the
// unit. The user's input is dropped meanwhile, so that a click or a key pressed then
// starts nothing once the step has finished. Rethrows what the step threw.
void runDeviceStep(const std::function<void()>& step);

// Whether a message is the user's input that a running step refuses: keys, mouse
// presses, moves and wheel turns, in the client area and on the frame (the menu bar,
// the close box). Button releases pass, so that a press begun before the step ends.
bool refusedDuringStep(const MSG& message);

// Whether a step is running on this thread's behalf. Input that does not come through
// the queue (a screen reader's action arrives as a sent BM_CLICK or WM_COMMAND) is
// refused by the window's own handlers while this is true.
bool deviceStepRunning();
