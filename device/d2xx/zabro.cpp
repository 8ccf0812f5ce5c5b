#include "zabro.h"

#include "d2xx_port.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// A missing entry fails exactly like a failing call: the caller cannot tell which.
template <class Error, class Entry, class... Args> void call(Entry entry, Args... args) {
    if (entry == nullptr || entry(args...) != d2xx::FT_OK) {
        throw Error{};
    }
}

} // namespace

std::unique_ptr<ComDevice> makeD2xxPort(const char* library, int deviceIndex) {
    auto port = std::make_unique<Zabro>();
    port->deviceIndex = deviceIndex;
    if (!port->driver.load(library != nullptr ? library : DriverTable::defaultLibraryName())) {
        throw ComDevice::InitializeError{};
    }
    return port;
}

Zabro::~Zabro() {
    Zabro::close();
}

void Zabro::open() {
    // The description is only asked for because the by-index listing needs a buffer
    // to fill; a successful listing is what tells that an adapter is present.
    std::array<char, 64> description{};
    // The listing takes the device index in its pointer argument.
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    void* const listed = reinterpret_cast<void*>(static_cast<std::uintptr_t>(deviceIndex));
    call<OpenError>(driver.FT_ListDevices, listed, static_cast<void*>(description.data()),
                    d2xx::FT_LIST_BY_INDEX | d2xx::FT_OPEN_BY_DESCRIPTION);
    call<OpenError>(driver.FT_Open, deviceIndex, &handle);
    call<OpenError>(driver.FT_SetBaudRate, handle, baudRate);
    call<OpenError>(driver.FT_SetTimeouts, handle, timeoutMs, timeoutMs);
    call<OpenError>(driver.FT_SetDataCharacteristics, handle, d2xx::FT_BITS_8, d2xx::FT_STOP_BITS_2,
                    d2xx::FT_PARITY_EVEN);
}

void Zabro::close() {
    // A port that was never opened has nothing to close, and handing a null handle to
    // the driver would only earn an error status nobody looks at.
    if (driver.FT_Close == nullptr || handle == nullptr) {
        return;
    }
    driver.FT_Close(handle);
    handle = nullptr;
}

std::uint32_t Zabro::read(std::uint8_t* buffer, std::uint32_t count) {
    d2xx::DWORD received = 0;
    call<ReadError>(driver.FT_Read, handle, static_cast<void*>(buffer), count, &received);
    // A driver that reports more than it was asked for must not make a short reply
    // look complete.
    return std::min<std::uint32_t>(received, count);
}

void Zabro::write(const std::uint8_t* buffer, std::uint32_t count) {
    d2xx::DWORD written = 0;
    // The driver's prototype takes a non-const buffer but never writes to it.
    call<WriteError>(driver.FT_Write, handle, const_cast<std::uint8_t*>(buffer),
                     static_cast<d2xx::DWORD>(count), &written);
    // The write time-out returns success with part of the bytes sent; a frame that did
    // not leave whole has not been sent.
    if (written < count) {
        throw WriteError{};
    }
}

void Zabro::purgeReceive() {
    call<ConnectionError>(driver.FT_Purge, handle, d2xx::FT_PURGE_RX);
}
