#pragma once

#include "device/adapter.h"
#include "device/d2xx/zabro.h"

// A D2XX port that the device tests fill and bind by hand, chosen as the process's
// adapter so that the servo tick and the simulated session go through it.
inline Zabro& d2xxAdapter() {
    static Zabro port;
    chooseAdapter(&port);
    return port;
}
