// Whatever the port hands back, Kelvo::read either throws one of its documented errors
// or accepts a reply that carries the right model code.

#include "device/d2xx/zabro.h"
#include "device/kelvo.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <typeinfo>
#include <vector>

namespace {

using namespace d2xx;

// The scripted driver's state for one input.
struct Script {
    FT_STATUS purgeStatus = FT_OK;
    FT_STATUS writeStatus = FT_OK;
    FT_STATUS readStatus = FT_OK;
    DWORD reportedCount = 0;
    std::vector<std::uint8_t> incoming;
};
Script script;

FT_STATUS purge(FT_HANDLE, ULONG) {
    return script.purgeStatus;
}

FT_STATUS write(FT_HANDLE, void*, DWORD count, DWORD* written) {
    *written = count;
    return script.writeStatus;
}

// A driver may fill fewer bytes than it reports, or report more than was asked for.
FT_STATUS read(FT_HANDLE, void* buffer, DWORD count, DWORD* received) {
    const auto filled = std::min<std::size_t>(count, script.incoming.size());
    std::copy_n(script.incoming.begin(), filled, static_cast<std::uint8_t*>(buffer));
    *received = script.reportedCount;
    return script.readStatus;
}

FT_STATUS pickStatus(FuzzedDataProvider& input) {
    // Mostly success, so that the reply itself gets judged.
    return input.ConsumeIntegralInRange<int>(0, 7) == 0 ? FT_IO_ERROR : FT_OK;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    script.purgeStatus = pickStatus(input);
    script.writeStatus = pickStatus(input);
    script.readStatus = pickStatus(input);
    const bool flag = input.ConsumeBool();
    const bool honestCount = input.ConsumeBool();
    const auto oddCount = input.ConsumeIntegral<DWORD>();
    script.incoming = input.ConsumeRemainingBytes<std::uint8_t>();
    script.reportedCount = honestCount ? static_cast<DWORD>(script.incoming.size()) : oddCount;

    Zabro port;
    port.driver.FT_Purge = purge;
    port.driver.FT_Write = write;
    port.driver.FT_Read = read;
    Kelvo kelvo(&port, [](std::chrono::milliseconds) {});
    try {
        kelvo.read(flag);
    } catch (const Zabro::ConnectionError&) {
        return 0;
    } catch (const CompatibilityError&) {
        return 0;
    }
    if (kelvo.receivedImage.modelCode() != SettingsImage::kelvoModelCode) {
        std::abort();
    }
    return 0;
}
