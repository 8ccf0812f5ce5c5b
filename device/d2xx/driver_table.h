#pragma once

#include "d2xx_types.h"

// The D2XX entry points bound at run time, in table order, then the module handle.
// This table is the single seam between the program and the adapter: tests may fill
// it with functions of their own.
struct DriverTable {
    d2xx::FT_Open_t FT_Open = nullptr;
    d2xx::FT_OpenEx_t FT_OpenEx = nullptr;
    d2xx::FT_ListDevices_t FT_ListDevices = nullptr;
    d2xx::FT_Close_t FT_Close = nullptr;
    d2xx::FT_Read_t FT_Read = nullptr;
    d2xx::FT_Write_t FT_Write = nullptr;
    d2xx::FT_ResetDevice_t FT_ResetDevice = nullptr;
    d2xx::FT_Purge_t FT_Purge = nullptr;
    d2xx::FT_SetTimeouts_t FT_SetTimeouts = nullptr;
    d2xx::FT_GetQueueStatus_t FT_GetQueueStatus = nullptr;
    d2xx::FT_SetDtr_t FT_SetDtr = nullptr;
    d2xx::FT_ClrDtr_t FT_ClrDtr = nullptr;
    d2xx::FT_SetRts_t FT_SetRts = nullptr;
    d2xx::FT_ClrRts_t FT_ClrRts = nullptr;
    d2xx::FT_GetModemStatus_t FT_GetModemStatus = nullptr;
    d2xx::FT_SetChars_t FT_SetChars = nullptr;
    d2xx::FT_SetLatencyTimer_t FT_SetLatencyTimer = nullptr;
    d2xx::FT_GetLatencyTimer_t FT_GetLatencyTimer = nullptr;
    d2xx::FT_SetDataCharacteristics_t FT_SetDataCharacteristics = nullptr;
    d2xx::FT_SetFlowControl_t FT_SetFlowControl = nullptr;
    d2xx::FT_SetBreakOn_t FT_SetBreakOn = nullptr;
    d2xx::FT_SetBreakOff_t FT_SetBreakOff = nullptr;
    d2xx::FT_ResetPort_t FT_ResetPort = nullptr;
    d2xx::FT_GetDeviceInfo_t FT_GetDeviceInfo = nullptr;
    d2xx::FT_EE_UASize_t FT_EE_UASize = nullptr;
    d2xx::FT_EE_UARead_t FT_EE_UARead = nullptr;
    d2xx::FT_EE_UAWrite_t FT_EE_UAWrite = nullptr;
    d2xx::FT_SetBitMode_t FT_SetBitMode = nullptr;
    d2xx::FT_GetBitMode_t FT_GetBitMode = nullptr;
    d2xx::FT_SetEventNotification_t FT_SetEventNotification = nullptr;
    d2xx::FT_GetStatus_t FT_GetStatus = nullptr;
    d2xx::FT_GetEventStatus_t FT_GetEventStatus = nullptr;
    d2xx::FT_SetBaudRate_t FT_SetBaudRate = nullptr;
    d2xx::FT_GetDriverVersion_t FT_GetDriverVersion = nullptr;
    d2xx::FT_GetLibraryVersion_t FT_GetLibraryVersion = nullptr;
    void* module = nullptr;

    // The vendor library's name for this platform, found by the system's usual search.
    static const char* defaultLibraryName();

    // Loads the library (the vendor's by default, or the one at an explicit path) and
    // binds every entry. Stops at the first missing entry, leaving it and the later
    // ones null. The library is never unloaded.
    bool load(const char* library = defaultLibraryName());
};
