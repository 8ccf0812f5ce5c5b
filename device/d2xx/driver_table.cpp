#include "driver_table.h"

#include "device/platform/dynamic_library.h"

namespace {

template <class Entry> bool bind(void* module, const char* name, Entry& entry) {
    entry = reinterpret_cast<Entry>(findLibrarySymbol(module, name));
    return entry != nullptr;
}

} // namespace

const char* DriverTable::defaultLibraryName() {
    return d2xxLibraryName();
}

bool DriverTable::load(const char* library) {
    module = openDynamicLibrary(library);
    if (module == nullptr) {
        return false;
    }
    // The chain stops at the first missing export; the entries bound before it stay,
    // the rest stay null. The order is fixed: the six core calls first, then the
    // others in table order.
    return bind(module, "FT_Write", FT_Write) && bind(module, "FT_Read", FT_Read) &&
           bind(module, "FT_Open", FT_Open) && bind(module, "FT_OpenEx", FT_OpenEx) &&
           bind(module, "FT_ListDevices", FT_ListDevices) && bind(module, "FT_Close", FT_Close) &&
           bind(module, "FT_ResetDevice", FT_ResetDevice) && bind(module, "FT_Purge", FT_Purge) &&
           bind(module, "FT_SetTimeouts", FT_SetTimeouts) &&
           bind(module, "FT_GetQueueStatus", FT_GetQueueStatus) &&
           bind(module, "FT_SetDtr", FT_SetDtr) && bind(module, "FT_ClrDtr", FT_ClrDtr) &&
           bind(module, "FT_SetRts", FT_SetRts) && bind(module, "FT_ClrRts", FT_ClrRts) &&
           bind(module, "FT_GetModemStatus", FT_GetModemStatus) &&
           bind(module, "FT_SetChars", FT_SetChars) &&
           bind(module, "FT_SetLatencyTimer", FT_SetLatencyTimer) &&
           bind(module, "FT_GetLatencyTimer", FT_GetLatencyTimer) &&
           bind(module, "FT_SetDataCharacteristics", FT_SetDataCharacteristics) &&
           bind(module, "FT_SetFlowControl", FT_SetFlowControl) &&
           bind(module, "FT_SetBreakOn", FT_SetBreakOn) &&
           bind(module, "FT_SetBreakOff", FT_SetBreakOff) &&
           bind(module, "FT_ResetPort", FT_ResetPort) &&
           bind(module, "FT_GetDeviceInfo", FT_GetDeviceInfo) &&
           bind(module, "FT_EE_UASize", FT_EE_UASize) &&
           bind(module, "FT_EE_UARead", FT_EE_UARead) &&
           bind(module, "FT_EE_UAWrite", FT_EE_UAWrite) &&
           bind(module, "FT_SetBitMode", FT_SetBitMode) &&
           bind(module, "FT_GetBitMode", FT_GetBitMode) &&
           bind(module, "FT_SetEventNotification", FT_SetEventNotification) &&
           bind(module, "FT_GetStatus", FT_GetStatus) &&
           bind(module, "FT_GetEventStatus", FT_GetEventStatus) &&
           bind(module, "FT_SetBaudRate", FT_SetBaudRate) &&
           bind(module, "FT_GetDriverVersion", FT_GetDriverVersion) &&
           bind(module, "FT_GetLibraryVersion", FT_GetLibraryVersion);
}
