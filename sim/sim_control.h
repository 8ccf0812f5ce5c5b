#pragma once

// Control surface of the simulated QB-7 adapter and Kelvo unit, for tests and the
// demo. Exported from the simulated library next to the D2XX functions.

#include <cstddef>
#include <cstdint>

// Exported from the simulated library, whose own symbols are otherwise hidden; users
// reach them through the library's import (Windows) or dynamic symbol table.
#if defined(_WIN32) && defined(VARNEL_SIM_LIBRARY)
#define SIM_CONTROL_API __declspec(dllexport)
#elif defined(_WIN32)
// Imported, so that a function's address is the library's own, not a local thunk's.
#define SIM_CONTROL_API __declspec(dllimport)
#else
#define SIM_CONTROL_API __attribute__((visibility("default")))
#endif

extern "C" {

enum SimFault {
    SIM_FAULT_NONE = 0,
    SIM_FAULT_NO_ADAPTER,        // FT_ListDevices and FT_Open find nothing
    SIM_FAULT_OPEN_STEP,         // open step N fails (1 ListDevices, 2 Open, 3 SetBaudRate,
                                 // 4 SetTimeouts, 5 SetDataCharacteristics)
    SIM_FAULT_PURGE,             // FT_Purge fails
    SIM_FAULT_WRITE,             // FT_Write fails after N successful writes
    SIM_FAULT_READ,              // FT_Read fails
    SIM_FAULT_NO_REPLY,          // the unit stays silent
    SIM_FAULT_WRONG_MARKER,      // the reply marker is not 0xA1
    SIM_FAULT_BAD_CHECKSUM,      // the reply words do not sum to 0
    SIM_FAULT_FOREIGN_MODEL,     // the reply carries model code N (0x8C when N is 0)
    SIM_FAULT_SHORT_REPLY,       // only N bytes of the 101 arrive (echo included)
    SIM_FAULT_STORE_DIFFERENTLY, // the unit stores image byte N changed, so verification fails
    SIM_FAULT_UNPLUGGED_AFTER,   // every D2XX call fails after N more calls; on the
                                 // pseudo-terminal, the line closes after N more bytes
    SIM_FAULT_WRONG_LINE,        // the unit runs at other line settings and understands
                                 // nothing, whatever the program sets
};

// Back to power-on: factory record, no fault, line settings unset, logs empty.
SIM_CONTROL_API void simReset(void);
// One fault at a time; the argument is the N of the fault's description.
SIM_CONTROL_API void simSetFault(int fault, int argument);

// The unit's stored 85-byte record (bytes 0 and 84 are 0).
SIM_CONTROL_API void simGetRecord(std::uint8_t* record85);
SIM_CONTROL_API void simSetRecord(const std::uint8_t* record85);

// Line settings recorded by the adapter.
struct SimLineSettings {
    std::uint32_t baudRate;
    std::uint8_t wordLength;
    std::uint8_t stopBits;
    std::uint8_t parity;
    std::uint32_t readTimeout;
    std::uint32_t writeTimeout;
    int open;
};
SIM_CONTROL_API void simGetLineSettings(SimLineSettings* settings);

// Everything written to the adapter, in order, as raw bytes (bounded log; the oldest
// bytes are dropped first). Returns the number of bytes copied.
SIM_CONTROL_API std::size_t simGetWrittenBytes(std::uint8_t* buffer, std::size_t capacity);
SIM_CONTROL_API std::size_t simWrittenByteCount(void);

SIM_CONTROL_API int simServoDriveOn(void);
// S.BUS frames decoded while in servo-drive mode: channel values and arrival time
// (monotonic clock, nanoseconds).
struct SimServoFrame {
    std::uint16_t channels[16];
    std::int64_t arrivalNs;
};
SIM_CONTROL_API std::size_t simServoFrameCount(void);
SIM_CONTROL_API int simGetServoFrame(std::size_t index, SimServoFrame* frame);

// Count of D2XX calls made so far (for "unplugged after N calls" tests).
SIM_CONTROL_API std::uint64_t simCallCount(void);
}
