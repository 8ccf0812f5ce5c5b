#pragma once

class ComDevice;

// The port chosen at start-up: the servo timer and the unit commands that are not
// handed a port of their own talk through it. Until a port is chosen it is an unbound
// adapter on which every operation fails.
ComDevice& theAdapter();

// Makes port the process's adapter; nullptr goes back to the unbound one. The caller
// keeps the port alive for as long as it is chosen.
void chooseAdapter(ComDevice* port);
