#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// The sixteen S.BUS channel values sent while the servo is driven. Shared between the
// dialog thread, which writes entry 2, and the timer thread, which sends them; atomic
// so that the sharing is defined behaviour.
inline constexpr std::size_t servoChannelCount = 16;
extern std::array<std::atomic<std::uint16_t>, servoChannelCount> ChannelValues;

inline constexpr std::size_t servoFrameSize = 25;
using ServoFrame = std::array<std::uint8_t, servoFrameSize>;

// Packs sixteen 11-bit values (bits 11-15 dropped) into an S.BUS frame: start byte
// 0x0F, 22 packed bytes least significant bit first, flags 0x00, end byte 0x00.
void packServoFrame(const std::array<std::uint16_t, servoChannelCount>& channels,
                    ServoFrame& frame);

// One timer tick: pack ChannelValues and write the frame through the chosen adapter. A failed
// write drops the frame and is counted; nothing escapes to the timer thread.
void sendServoFrame();
// The same tick through a given port.
class ComDevice;
void sendServoFrameThrough(ComDevice& port);

// Frames dropped since the last reset, for the dialog to notice.
std::uint32_t droppedServoFrames();
void resetDroppedServoFrames();
