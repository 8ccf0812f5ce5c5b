// The 35 D2XX entry points of the simulated adapter, with the vendor's names and
// prototypes, so that the program's binding cannot tell this library from the real
// one. VARNEL_SIM_WITHOUT_FT_READ and VARNEL_SIM_WITHOUT_FT_GETLIBRARYVERSION build the
// variants that lack one export, for the binding's failure paths.

#include "sim/simulation.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

using namespace d2xx;
using sim::Simulation;

#ifdef _WIN32
#define SIM_EXPORT extern "C" __declspec(dllexport)
#else
#define SIM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

constexpr const char* description = "QB-7";
constexpr const char* serialNumber = "QB7SIM01";
constexpr DWORD listNumberOnly = 0x80000000;
constexpr DWORD libraryVersion = 0x00010400;
// FT_DEVICE_232R, and the vendor's own USB vendor and product ID.
constexpr FT_DEVICE deviceType = 5;
constexpr DWORD deviceId = 0x04036001;

// Every call counts towards "unplugged after N calls" and fails once it has passed.
template <class Body> FT_STATUS call(Body body) {
    return sim::locked([&](Simulation& s) -> FT_STATUS {
        if (!s.countCall()) {
            return FT_IO_ERROR;
        }
        return body(s);
    });
}

template <class Body> FT_STATUS onDevice(FT_HANDLE handle, Body body) {
    return call(
        [&](Simulation& s) -> FT_STATUS { return s.isOpen(handle) ? body(s) : FT_INVALID_HANDLE; });
}

FT_STATUS accept(FT_HANDLE handle) {
    return onDevice(handle, [](Simulation&) { return FT_OK; });
}

// Answers a query through its out-parameter.
template <class T, class Value> FT_STATUS report(FT_HANDLE handle, T* out, Value value) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (out == nullptr) {
            return FT_INVALID_PARAMETER;
        }
        *out = static_cast<T>(value(s));
        return FT_OK;
    });
}

// For the queries about features the adapter does not model.
DWORD nothing(const Simulation&) {
    return 0;
}

FT_STATUS openDevice(Simulation& s, int deviceNumber, FT_HANDLE* handle) {
    if (handle == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    if (s.faultIs(SIM_FAULT_NO_ADAPTER) || deviceNumber != 0) {
        return FT_DEVICE_NOT_FOUND;
    }
    if (s.openStepFails(2) || s.line.open != 0) {
        return FT_DEVICE_NOT_OPENED;
    }
    s.line.open = 1;
    *handle = s.handle();
    return FT_OK;
}

void copyText(void* buffer, const char* text) {
    if (buffer != nullptr) {
        std::strcpy(static_cast<char*>(buffer), text);
    }
}

} // namespace

SIM_EXPORT FT_STATUS D2XX_API FT_Open(int deviceNumber, FT_HANDLE* handle) {
    return call([&](Simulation& s) { return openDevice(s, deviceNumber, handle); });
}

SIM_EXPORT FT_STATUS D2XX_API FT_OpenEx(void*, DWORD, FT_HANDLE* handle) {
    return call([&](Simulation& s) { return openDevice(s, 0, handle); });
}

SIM_EXPORT FT_STATUS D2XX_API FT_ListDevices(void* arg1, void* arg2, DWORD flags) {
    return call([&](Simulation& s) -> FT_STATUS {
        if (s.openStepFails(1)) {
            return FT_OTHER_ERROR;
        }
        const DWORD devices = s.faultIs(SIM_FAULT_NO_ADAPTER) ? 0 : 1;
        if (flags & listNumberOnly) {
            if (arg1 == nullptr) {
                return FT_INVALID_PARAMETER;
            }
            *static_cast<DWORD*>(arg1) = devices;
            return FT_OK;
        }
        if (!(flags & FT_LIST_BY_INDEX)) {
            return FT_INVALID_PARAMETER;
        }
        if (reinterpret_cast<std::uintptr_t>(arg1) >= devices) {
            return FT_DEVICE_NOT_FOUND;
        }
        copyText(arg2, (flags & FT_OPEN_BY_DESCRIPTION) ? description : serialNumber);
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_Close(FT_HANDLE handle) {
    return onDevice(handle, [](Simulation& s) {
        s.line.open = 0;
        return FT_OK;
    });
}

#ifndef VARNEL_SIM_WITHOUT_FT_READ
// Returns at once with what is queued: a short answer stands for the read time-out
// having run out, without anyone waiting for it.
SIM_EXPORT FT_STATUS D2XX_API FT_Read(FT_HANDLE handle, void* buffer, DWORD bytesToRead,
                                      DWORD* bytesReturned) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (buffer == nullptr || bytesReturned == nullptr) {
            return FT_INVALID_PARAMETER;
        }
        if (s.faultIs(SIM_FAULT_READ)) {
            return FT_IO_ERROR;
        }
        *bytesReturned =
            static_cast<DWORD>(s.receive(static_cast<std::uint8_t*>(buffer), bytesToRead));
        return FT_OK;
    });
}
#endif

SIM_EXPORT FT_STATUS D2XX_API FT_Write(FT_HANDLE handle, void* buffer, DWORD bytesToWrite,
                                       DWORD* bytesWritten) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (buffer == nullptr || bytesWritten == nullptr) {
            return FT_INVALID_PARAMETER;
        }
        if (!s.writeAllowed()) {
            return FT_IO_ERROR;
        }
        s.transmit(static_cast<const std::uint8_t*>(buffer), bytesToWrite);
        *bytesWritten = bytesToWrite;
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_ResetDevice(FT_HANDLE handle) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_Purge(FT_HANDLE handle, ULONG mask) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (s.faultIs(SIM_FAULT_PURGE)) {
            return FT_IO_ERROR;
        }
        if (mask & FT_PURGE_RX) {
            s.purgeReceived();
        }
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetTimeouts(FT_HANDLE handle, ULONG readTimeout,
                                             ULONG writeTimeout) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (s.openStepFails(4)) {
            return FT_IO_ERROR;
        }
        s.line.readTimeout = readTimeout;
        s.line.writeTimeout = writeTimeout;
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) {
    return report(handle, rxBytes, [](const Simulation& s) { return s.queued(); });
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetDtr(FT_HANDLE handle) {
    return accept(handle);
}
SIM_EXPORT FT_STATUS D2XX_API FT_ClrDtr(FT_HANDLE handle) {
    return accept(handle);
}
SIM_EXPORT FT_STATUS D2XX_API FT_SetRts(FT_HANDLE handle) {
    return accept(handle);
}
SIM_EXPORT FT_STATUS D2XX_API FT_ClrRts(FT_HANDLE handle) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetModemStatus(FT_HANDLE handle, ULONG* modemStatus) {
    return report(handle, modemStatus, nothing);
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetChars(FT_HANDLE handle, UCHAR, UCHAR, UCHAR, UCHAR) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetLatencyTimer(FT_HANDLE handle, UCHAR latency) {
    return onDevice(handle, [&](Simulation& s) {
        s.latency = latency;
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetLatencyTimer(FT_HANDLE handle, UCHAR* latency) {
    return report(handle, latency, [](const Simulation& s) { return s.latency; });
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetDataCharacteristics(FT_HANDLE handle, UCHAR wordLength,
                                                        UCHAR stopBits, UCHAR parity) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (s.openStepFails(5)) {
            return FT_IO_ERROR;
        }
        s.line.wordLength = wordLength;
        s.line.stopBits = stopBits;
        s.line.parity = parity;
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetFlowControl(FT_HANDLE handle, USHORT, UCHAR, UCHAR) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetBreakOn(FT_HANDLE handle) {
    return accept(handle);
}
SIM_EXPORT FT_STATUS D2XX_API FT_SetBreakOff(FT_HANDLE handle) {
    return accept(handle);
}
SIM_EXPORT FT_STATUS D2XX_API FT_ResetPort(FT_HANDLE handle) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetDeviceInfo(FT_HANDLE handle, FT_DEVICE* device, DWORD* id,
                                               char* serial, char* text, void*) {
    return onDevice(handle, [&](Simulation&) {
        if (device != nullptr) {
            *device = deviceType;
        }
        if (id != nullptr) {
            *id = deviceId;
        }
        copyText(serial, serialNumber);
        copyText(text, description);
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_EE_UASize(FT_HANDLE handle, DWORD* size) {
    return report(handle, size, nothing);
}

SIM_EXPORT FT_STATUS D2XX_API FT_EE_UARead(FT_HANDLE handle, UCHAR*, DWORD, DWORD* bytesRead) {
    return report(handle, bytesRead, nothing);
}

SIM_EXPORT FT_STATUS D2XX_API FT_EE_UAWrite(FT_HANDLE handle, UCHAR*, DWORD) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetBitMode(FT_HANDLE handle, UCHAR, UCHAR) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetBitMode(FT_HANDLE handle, UCHAR* mode) {
    return report(handle, mode, nothing);
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetEventNotification(FT_HANDLE handle, DWORD, void*) {
    return accept(handle);
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetStatus(FT_HANDLE handle, DWORD* rxBytes, DWORD* txBytes,
                                           DWORD* eventStatus) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (rxBytes == nullptr || txBytes == nullptr || eventStatus == nullptr) {
            return FT_INVALID_PARAMETER;
        }
        *rxBytes = static_cast<DWORD>(s.queued());
        *txBytes = 0;
        *eventStatus = 0;
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetEventStatus(FT_HANDLE handle, DWORD* eventStatus) {
    return report(handle, eventStatus, nothing);
}

SIM_EXPORT FT_STATUS D2XX_API FT_SetBaudRate(FT_HANDLE handle, ULONG baudRate) {
    return onDevice(handle, [&](Simulation& s) -> FT_STATUS {
        if (s.openStepFails(3)) {
            return FT_IO_ERROR;
        }
        s.line.baudRate = baudRate;
        return FT_OK;
    });
}

SIM_EXPORT FT_STATUS D2XX_API FT_GetDriverVersion(FT_HANDLE handle, DWORD* version) {
    return report(handle, version, [](const Simulation&) { return libraryVersion; });
}

#ifndef VARNEL_SIM_WITHOUT_FT_GETLIBRARYVERSION
SIM_EXPORT FT_STATUS D2XX_API FT_GetLibraryVersion(DWORD* version) {
    return call([&](Simulation&) -> FT_STATUS {
        if (version == nullptr) {
            return FT_INVALID_PARAMETER;
        }
        *version = libraryVersion;
        return FT_OK;
    });
}
#endif

// The prototypes must stay exactly those the program binds to.
static_assert(std::is_same_v<decltype(&FT_Open), FT_Open_t>);
static_assert(std::is_same_v<decltype(&FT_OpenEx), FT_OpenEx_t>);
static_assert(std::is_same_v<decltype(&FT_ListDevices), FT_ListDevices_t>);
static_assert(std::is_same_v<decltype(&FT_Close), FT_Close_t>);
#ifndef VARNEL_SIM_WITHOUT_FT_READ
static_assert(std::is_same_v<decltype(&FT_Read), FT_Read_t>);
#endif
static_assert(std::is_same_v<decltype(&FT_Write), FT_Write_t>);
static_assert(std::is_same_v<decltype(&FT_ResetDevice), FT_ResetDevice_t>);
static_assert(std::is_same_v<decltype(&FT_Purge), FT_Purge_t>);
static_assert(std::is_same_v<decltype(&FT_SetTimeouts), FT_SetTimeouts_t>);
static_assert(std::is_same_v<decltype(&FT_GetQueueStatus), FT_GetQueueStatus_t>);
static_assert(std::is_same_v<decltype(&FT_SetDtr), FT_SetDtr_t>);
static_assert(std::is_same_v<decltype(&FT_ClrDtr), FT_ClrDtr_t>);
static_assert(std::is_same_v<decltype(&FT_SetRts), FT_SetRts_t>);
static_assert(std::is_same_v<decltype(&FT_ClrRts), FT_ClrRts_t>);
static_assert(std::is_same_v<decltype(&FT_GetModemStatus), FT_GetModemStatus_t>);
static_assert(std::is_same_v<decltype(&FT_SetChars), FT_SetChars_t>);
static_assert(std::is_same_v<decltype(&FT_SetLatencyTimer), FT_SetLatencyTimer_t>);
static_assert(std::is_same_v<decltype(&FT_GetLatencyTimer), FT_GetLatencyTimer_t>);
static_assert(std::is_same_v<decltype(&FT_SetDataCharacteristics), FT_SetDataCharacteristics_t>);
static_assert(std::is_same_v<decltype(&FT_SetFlowControl), FT_SetFlowControl_t>);
static_assert(std::is_same_v<decltype(&FT_SetBreakOn), FT_SetBreakOn_t>);
static_assert(std::is_same_v<decltype(&FT_SetBreakOff), FT_SetBreakOff_t>);
static_assert(std::is_same_v<decltype(&FT_ResetPort), FT_ResetPort_t>);
static_assert(std::is_same_v<decltype(&FT_GetDeviceInfo), FT_GetDeviceInfo_t>);
static_assert(std::is_same_v<decltype(&FT_EE_UASize), FT_EE_UASize_t>);
static_assert(std::is_same_v<decltype(&FT_EE_UARead), FT_EE_UARead_t>);
static_assert(std::is_same_v<decltype(&FT_EE_UAWrite), FT_EE_UAWrite_t>);
static_assert(std::is_same_v<decltype(&FT_SetBitMode), FT_SetBitMode_t>);
static_assert(std::is_same_v<decltype(&FT_GetBitMode), FT_GetBitMode_t>);
static_assert(std::is_same_v<decltype(&FT_SetEventNotification), FT_SetEventNotification_t>);
static_assert(std::is_same_v<decltype(&FT_GetStatus), FT_GetStatus_t>);
static_assert(std::is_same_v<decltype(&FT_GetEventStatus), FT_GetEventStatus_t>);
static_assert(std::is_same_v<decltype(&FT_SetBaudRate), FT_SetBaudRate_t>);
static_assert(std::is_same_v<decltype(&FT_GetDriverVersion), FT_GetDriverVersion_t>);
#ifndef VARNEL_SIM_WITHOUT_FT_GETLIBRARYVERSION
static_assert(std::is_same_v<decltype(&FT_GetLibraryVersion), FT_GetLibraryVersion_t>);
#endif
