#pragma once

// How every conversation with the simulated unit begins, for the tests and benchmarks
// that drive it through the process-wide adapter. The simulated library must already
// be bound into theAdapter.

// Powers the unit on afresh and opens the adapter, closing a handle left from before.
void startSimulatedSession();
// Sends the wake-up preamble the unit needs before it answers a read request.
void wakeSimulatedUnit();
