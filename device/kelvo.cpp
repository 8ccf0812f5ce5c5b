#include "kelvo.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr std::size_t flagByte = 15;
constexpr std::size_t checksumByte = 16;

// Flag bits as built, before the frame is bit-reversed on its way out.
constexpr std::uint8_t requestBit = 0x01;
constexpr std::uint8_t flagArgumentBit = 0x02;
constexpr std::uint8_t readRequestBit = 0x04;
constexpr std::uint8_t blockFrameBit = 0x08;
constexpr std::uint8_t servoOnBit = 0x10;
// The bits every frame rewrites; bits 5-7 are never touched and carry over.
constexpr std::uint8_t commandBits = 0x1F;

// The reply proper starts after the echo of the 17-byte request.
constexpr std::size_t markerByte = 17;
constexpr std::size_t modelByte = 18;
constexpr std::size_t checksumWordByte = 21;

void assignBits(std::uint8_t& byte, std::uint8_t mask, bool on) {
    byte = on ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

// The unit balances the forty big-endian words behind the unit ID to zero.
bool replyWordsBalance(const std::array<std::uint8_t, Kelvo::replySize>& reply) {
    std::uint16_t sum = 0;
    for (std::size_t i = checksumWordByte; i < Kelvo::replySize; i += 2) {
        sum = static_cast<std::uint16_t>(sum + (reply[i] << 8) + reply[i + 1]);
    }
    return sum == 0;
}

} // namespace

std::uint8_t reverseBits(std::uint8_t value) {
    std::uint8_t reversed = 0;
    for (int n = 0; n < 8; ++n) {
        if ((value >> n) & 1U) {
            reversed = static_cast<std::uint8_t>(reversed | (0x80U >> n));
        }
    }
    return reversed;
}

Kelvo::Kelvo(ComDevice* device, SleepFunction sleep) : device(device), sleep(std::move(sleep)) {
    request[0] = requestStart;
    receivedImage = workingImage;
}

void Kelvo::read(bool flag) {
    std::array<std::uint8_t, replySize> reply{};

    // The receive queue still holds the echo of whatever went out before; it must not
    // be taken for the reply.
    device->purgeReceive();

    fillHeader(0);
    std::uint8_t& flags = request[flagByte];
    assignBits(flags, requestBit | readRequestBit, true);
    assignBits(flags, flagArgumentBit, flag);
    assignBits(flags, servoOnBit, false);
    finishAndSend();

    // A reply cut short by the time-out is refused outright: its missing bytes read as
    // zeros, which balance the checksum and would pass for zeroed settings.
    if (device->read(reply.data(), replySize) < replySize) {
        throw ComDevice::ReadError{};
    }
    if (reply[markerByte] != replyMarker || !replyWordsBalance(reply)) {
        throw ProtocolError{};
    }

    std::copy(reply.begin() + modelByte, reply.end(), receivedImage.raw().begin() + 1);
    if (receivedImage.modelCode() != SettingsImage::kelvoModelCode) {
        throw CompatibilityError{};
    }
}

void Kelvo::write(bool flag) {
    std::uint8_t& flags = request[flagByte];
    for (std::uint8_t k = 0; k < SettingsImage::blockCount; ++k) {
        fillHeader(k);
        assignBits(flags, requestBit | blockFrameBit, true);
        assignBits(flags, flagArgumentBit, flag);
        assignBits(flags, readRequestBit | servoOnBit, false);
        finishAndSend();
        sleep(blockPause);
    }
    // The end-of-write frame repeats block 0 with every command bit cleared.
    fillHeader(0);
    assignBits(flags, commandBits, false);
    finishAndSend();
}

void Kelvo::servoDrive(bool on) {
    fillHeader(0);
    std::uint8_t& flags = request[flagByte];
    assignBits(flags, requestBit, true);
    assignBits(flags, flagArgumentBit | readRequestBit, false);
    assignBits(flags, servoOnBit, on);
    finishAndSend();
}

void Kelvo::fillHeader(std::uint8_t blockIndex) {
    const auto& image = workingImage.raw();
    std::copy_n(image.begin(), SettingsImage::firstBlockOffset, request.begin() + 1);
    request[5] = blockIndex;
    const auto block = workingImage.block(blockIndex);
    std::copy(block.begin(), block.end(), request.begin() + 6);
}

void Kelvo::finishAndSend() {
    const auto sum = std::accumulate(request.begin() + 1, request.begin() + checksumByte,
                                     std::uint8_t{0}, [](std::uint8_t total, std::uint8_t byte) {
                                         return static_cast<std::uint8_t>(total + byte);
                                     });
    request[checksumByte] = static_cast<std::uint8_t>(-sum);
    // Reversed in place, so the flag bits the next frame leaves alone are those of this
    // frame as it went out on the wire; the unit relies on that carry-over.
    std::transform(request.begin() + 1, request.end(), request.begin() + 1, reverseBits);
    device->write(request.data(), requestSize);
}
