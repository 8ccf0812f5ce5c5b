#pragma once

// How every conversation with the simulated unit begins, for the tests and benchmarks
// that drive it through the process-wide adapter.

class ComDevice;

// Binds the simulated library at path into a D2XX port that lives until the process
// ends, and makes it the process's adapter. False when the library cannot be bound.
bool chooseSimulatedAdapter(const char* path);
// Powers the unit on afresh and opens the adapter, closing a handle left from before.
void startSimulatedSession();
// Sends the wake-up preamble the unit needs before it answers a read request.
void wakeSimulatedUnit();
