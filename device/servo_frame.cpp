#include "servo_frame.h"

#include "adapter.h"
#include "com_device.h"

std::array<std::atomic<std::uint16_t>, servoChannelCount> ChannelValues{};

namespace {

constexpr std::uint8_t startByte = 0x0F;
constexpr std::uint16_t channelMask = 0x07FF;
constexpr int channelBits = 11;

std::atomic<std::uint32_t> dropped{0};

} // namespace

void packServoFrame(const std::array<std::uint16_t, servoChannelCount>& channels,
                    ServoFrame& frame) {
    frame[0] = startByte;
    // Sixteen 11-bit values fill the 22 bytes exactly, so the accumulator is empty
    // again when the last channel has gone in.
    std::uint32_t pending = 0;
    int pendingBits = 0;
    std::size_t out = 1;
    for (const std::uint16_t value : channels) {
        pending |= static_cast<std::uint32_t>(value & channelMask) << pendingBits;
        pendingBits += channelBits;
        while (pendingBits >= 8) {
            frame[out++] = static_cast<std::uint8_t>(pending);
            pending >>= 8;
            pendingBits -= 8;
        }
    }
    frame[23] = 0x00;
    frame[24] = 0x00;
}

void sendServoFrame() {
    sendServoFrameThrough(theAdapter());
}

void sendServoFrameThrough(ComDevice& port) {
    std::array<std::uint16_t, servoChannelCount> values{};
    for (std::size_t i = 0; i < servoChannelCount; ++i) {
        values[i] = ChannelValues[i].load(std::memory_order_relaxed);
    }
    ServoFrame frame{};
    packServoFrame(values, frame);
    // This runs on the timer thread, where nobody could handle an exception: the frame
    // is dropped and the count lets the dialog notice and end the procedure.
    try {
        port.write(frame.data(), servoFrameSize);
    } catch (...) {
        dropped.fetch_add(1, std::memory_order_relaxed);
    }
}

std::uint32_t droppedServoFrames() {
    return dropped.load(std::memory_order_relaxed);
}

void resetDroppedServoFrames() {
    dropped.store(0, std::memory_order_relaxed);
}
