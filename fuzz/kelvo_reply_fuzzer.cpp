// Whatever the port hands back, Kelvo::read ends exactly as the reply rules say: the
// error the failing step raises, or a reply accepted into the received image, and a
// refused reply leaves the received image as it was.

#include "device/d2xx/zabro.h"
#include "device/kelvo.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
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

// The reply proper follows the 17 bytes that echo the request.
constexpr std::size_t markerByte = 17;
constexpr std::size_t modelByte = 18;
constexpr std::size_t firstWordByte = 21;

enum class Outcome { Accepted, ConnectionError, WriteError, ReadError, ForeignModel };

// The reply as the read buffer holds it: cleared, then filled with what the driver gave.
std::array<std::uint8_t, Kelvo::replySize> replyBuffer() {
    std::array<std::uint8_t, Kelvo::replySize> reply{};
    std::copy_n(script.incoming.begin(), std::min(reply.size(), script.incoming.size()),
                reply.begin());
    return reply;
}

// What the transaction must do with this script, worked out from the rules alone.
Outcome expectedOutcome(const std::array<std::uint8_t, Kelvo::replySize>& reply) {
    if (script.purgeStatus != FT_OK) {
        return Outcome::ConnectionError;
    }
    if (script.writeStatus != FT_OK) {
        return Outcome::WriteError;
    }
    if (script.readStatus != FT_OK || script.reportedCount < Kelvo::replySize ||
        reply[markerByte] != Kelvo::replyMarker) {
        return Outcome::ReadError;
    }
    unsigned sum = 0;
    for (std::size_t i = firstWordByte; i < reply.size(); i += 2) {
        sum += 256U * reply[i] + reply[i + 1]; // forty words, high byte first
    }
    if (sum % 65536 != 0) {
        return Outcome::ReadError;
    }
    return reply[modelByte] == SettingsImage::kelvoModelCode ? Outcome::Accepted
                                                             : Outcome::ForeignModel;
}

Outcome runRead(Kelvo& kelvo, bool flag) {
    try {
        kelvo.read(flag);
    } catch (const CompatibilityError&) { // a kind of read error: the more specific first
        return Outcome::ForeignModel;
    } catch (const Zabro::ReadError&) {
        return Outcome::ReadError;
    } catch (const Zabro::WriteError&) {
        return Outcome::WriteError;
    } catch (const Zabro::ConnectionError& error) {
        // The purge's failure is the plain connection error, not one of its kinds.
        if (typeid(error) != typeid(Zabro::ConnectionError)) {
            std::abort();
        }
        return Outcome::ConnectionError;
    }
    return Outcome::Accepted;
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
    // A patterned received image, unlike the zeros of a short reply, so that any byte a
    // refused reply wrote, or an accepted one wrote in the wrong place, shows.
    for (std::size_t i = 0; i < SettingsImage::size; ++i) {
        kelvo.receivedImage.raw()[i] = static_cast<std::uint8_t>(0x5A ^ (i * 37));
    }
    const SettingsImage before = kelvo.receivedImage;

    const auto reply = replyBuffer();
    const Outcome expected = expectedOutcome(reply);
    if (runRead(kelvo, flag) != expected) {
        std::abort();
    }
    if (expected != Outcome::Accepted && expected != Outcome::ForeignModel) {
        if (kelvo.receivedImage != before) {
            std::abort();
        }
        return 0;
    }
    // Reply bytes 18 to 100 land in image bytes 1 to 83; bytes 0 and 84 are never set
    // by a reply. A foreign model's reply is stored too, for the caller to judge.
    const auto& image = kelvo.receivedImage.raw();
    if (image[0] != before.raw()[0] || image[SettingsImage::size - 1] != before.raw().back() ||
        !std::equal(reply.begin() + modelByte, reply.end(), image.begin() + 1)) {
        std::abort();
    }
    return 0;
}
