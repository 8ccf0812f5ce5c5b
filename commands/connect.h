#pragma once

class Zabro;

// Binds the driver library and opens the adapter. Returns noMessage, or the message
// that tells why the adapter cannot be used (driver missing, adapter missing).
int connectAdapter(Zabro& adapter, const char* library);
