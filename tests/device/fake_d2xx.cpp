#include "fake_d2xx.h"

#include <algorithm>

FakeD2xx fake;

namespace {

using namespace d2xx;

std::string handleText(FT_HANDLE handle) {
    return handle == FakeD2xx::handle() ? "@" : "?";
}

FT_STATUS log(const std::string& name, const std::string& arguments) {
    fake.calls.push_back(name + "(" + arguments + ")");
    return fake.failing == name ? FT_IO_ERROR : FT_OK;
}

FT_STATUS listDevices(void* arg1, void* arg2, DWORD flags) {
    return log("FT_ListDevices", std::to_string(reinterpret_cast<std::uintptr_t>(arg1)) + "," +
                                     (arg2 != nullptr ? "buffer" : "null") + "," +
                                     std::to_string(flags));
}

FT_STATUS open(int device, FT_HANDLE* handle) {
    const FT_STATUS status = log("FT_Open", std::to_string(device));
    if (status == FT_OK) {
        *handle = FakeD2xx::handle();
    }
    return status;
}

FT_STATUS setBaudRate(FT_HANDLE handle, ULONG baud) {
    return log("FT_SetBaudRate", handleText(handle) + "," + std::to_string(baud));
}

FT_STATUS setTimeouts(FT_HANDLE handle, ULONG readTimeout, ULONG writeTimeout) {
    return log("FT_SetTimeouts", handleText(handle) + "," + std::to_string(readTimeout) + "," +
                                     std::to_string(writeTimeout));
}

FT_STATUS setDataCharacteristics(FT_HANDLE handle, UCHAR length, UCHAR stop, UCHAR parity) {
    return log("FT_SetDataCharacteristics", handleText(handle) + "," + std::to_string(length) +
                                                "," + std::to_string(stop) + "," +
                                                std::to_string(parity));
}

FT_STATUS close(FT_HANDLE handle) {
    return log("FT_Close", handleText(handle));
}

FT_STATUS purge(FT_HANDLE handle, ULONG mask) {
    return log("FT_Purge", handleText(handle) + "," + std::to_string(mask));
}

FT_STATUS write(FT_HANDLE handle, void* buffer, DWORD count, DWORD* written) {
    const FT_STATUS status = log("FT_Write", handleText(handle) + "," + std::to_string(count));
    if (fake.writesBeforeFailure >= 0 &&
        static_cast<int>(fake.writes.size()) >= fake.writesBeforeFailure) {
        return FT_IO_ERROR;
    }
    if (status == FT_OK) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        fake.writes.emplace_back(bytes, bytes + count);
        *written = count;
    }
    return status;
}

FT_STATUS read(FT_HANDLE handle, void* buffer, DWORD count, DWORD* received) {
    const FT_STATUS status = log("FT_Read", handleText(handle) + "," + std::to_string(count));
    if (status == FT_OK) {
        const auto taken = std::min<std::size_t>(count, fake.incoming.size());
        std::copy_n(fake.incoming.begin(), taken, static_cast<std::uint8_t*>(buffer));
        fake.incoming.erase(fake.incoming.begin(), fake.incoming.begin() + taken);
        *received = static_cast<DWORD>(taken);
    }
    return status;
}

} // namespace

DriverTable fakeDriverTable() {
    DriverTable table;
    table.FT_ListDevices = listDevices;
    table.FT_Open = open;
    table.FT_SetBaudRate = setBaudRate;
    table.FT_SetTimeouts = setTimeouts;
    table.FT_SetDataCharacteristics = setDataCharacteristics;
    table.FT_Close = close;
    table.FT_Purge = purge;
    table.FT_Write = write;
    table.FT_Read = read;
    return table;
}
