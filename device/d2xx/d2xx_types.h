#pragma once

// The D2XX entry points as the vendor documents them, with fixed-width types: DWORD,
// ULONG and BOOL are 32 bits on every platform the library ships for, while
// "unsigned long" is 64 bits on Linux and would break every call.

#include "device/platform/d2xx_calling_convention.h"

#include <cstdint>

namespace d2xx {

using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using BOOL = std::uint32_t;
using UCHAR = std::uint8_t;
using USHORT = std::uint16_t;
using WORD = std::uint16_t;
using LONG = std::int32_t;
using FT_HANDLE = void*;
using FT_STATUS = ULONG;

inline constexpr FT_STATUS FT_OK = 0;
inline constexpr FT_STATUS FT_INVALID_HANDLE = 1;
inline constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
inline constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
inline constexpr FT_STATUS FT_IO_ERROR = 4;
inline constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
inline constexpr FT_STATUS FT_OTHER_ERROR = 18;

inline constexpr DWORD FT_LIST_BY_INDEX = 0x40000000;
inline constexpr DWORD FT_OPEN_BY_DESCRIPTION = 2;
inline constexpr UCHAR FT_BITS_8 = 8;
inline constexpr UCHAR FT_STOP_BITS_2 = 2;
inline constexpr UCHAR FT_PARITY_EVEN = 2;
inline constexpr ULONG FT_PURGE_RX = 1;
inline constexpr ULONG FT_PURGE_TX = 2;

// FT_GetDeviceInfo's device type is an enum of the size of a ULONG.
using FT_DEVICE = ULONG;

using FT_Open_t = FT_STATUS(D2XX_API*)(int deviceNumber, FT_HANDLE* handle);
using FT_OpenEx_t = FT_STATUS(D2XX_API*)(void* arg1, DWORD flags, FT_HANDLE* handle);
using FT_ListDevices_t = FT_STATUS(D2XX_API*)(void* arg1, void* arg2, DWORD flags);
using FT_Close_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_Read_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, void* buffer, DWORD bytesToRead,
                                       DWORD* bytesReturned);
using FT_Write_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, void* buffer, DWORD bytesToWrite,
                                        DWORD* bytesWritten);
using FT_ResetDevice_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_Purge_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, ULONG mask);
using FT_SetTimeouts_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, ULONG readTimeout,
                                              ULONG writeTimeout);
using FT_GetQueueStatus_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, DWORD* rxBytes);
using FT_SetDtr_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_ClrDtr_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_SetRts_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_ClrRts_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_GetModemStatus_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, ULONG* modemStatus);
using FT_SetChars_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR eventChar,
                                           UCHAR eventCharEnabled, UCHAR errorChar,
                                           UCHAR errorCharEnabled);
using FT_SetLatencyTimer_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR latency);
using FT_GetLatencyTimer_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR* latency);
using FT_SetDataCharacteristics_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR wordLength,
                                                         UCHAR stopBits, UCHAR parity);
using FT_SetFlowControl_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, USHORT flowControl,
                                                 UCHAR xonChar, UCHAR xoffChar);
using FT_SetBreakOn_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_SetBreakOff_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_ResetPort_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle);
using FT_GetDeviceInfo_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, FT_DEVICE* device, DWORD* id,
                                                char* serialNumber, char* description, void* dummy);
using FT_EE_UASize_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, DWORD* size);
using FT_EE_UARead_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR* data, DWORD dataLength,
                                            DWORD* bytesRead);
using FT_EE_UAWrite_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR* data, DWORD dataLength);
using FT_SetBitMode_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR mask, UCHAR mode);
using FT_GetBitMode_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, UCHAR* mode);
using FT_SetEventNotification_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, DWORD mask, void* param);
using FT_GetStatus_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, DWORD* rxBytes, DWORD* txBytes,
                                            DWORD* eventStatus);
using FT_GetEventStatus_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, DWORD* eventStatus);
using FT_SetBaudRate_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, ULONG baudRate);
using FT_GetDriverVersion_t = FT_STATUS(D2XX_API*)(FT_HANDLE handle, DWORD* version);
using FT_GetLibraryVersion_t = FT_STATUS(D2XX_API*)(DWORD* version);

} // namespace d2xx
