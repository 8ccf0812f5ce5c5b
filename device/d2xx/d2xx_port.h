#pragma once

#include "device/com_device.h"

#include <memory>

// A port over the D2XX library (the vendor's when library is null) to the device of
// that index in its listing, bound but not yet open. Raises ComDevice::InitializeError
// when the library or one of its entries is missing.
std::unique_ptr<ComDevice> makeD2xxPort(const char* library = nullptr, int deviceIndex = 0);
