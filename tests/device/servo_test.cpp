#include "d2xx_adapter.h"
#include "device/kelvo.h"
#include "device/periodic_timer.h"
#include "device/servo_frame.h"
#include "fake_d2xx.h"
#include "sim/sim_control.h"
#include "sim/sim_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Channels = std::array<std::uint16_t, servoChannelCount>;

struct PackingCase {
    const char* name;
    Channels channels;
    ServoFrame frame;
};

void PrintTo(const PackingCase& c, std::ostream* os) {
    *os << c.name;
}

Channels only(std::size_t index, std::uint16_t value) {
    Channels channels{};
    channels[index] = value;
    return channels;
}

Channels all(std::uint16_t value) {
    Channels channels;
    channels.fill(value);
    return channels;
}

class ServoPacking : public ::testing::TestWithParam<PackingCase> {};

TEST_P(ServoPacking, PacksElevenBitsLeastSignificantFirst) {
    ServoFrame frame;
    frame.fill(0xAA); // every byte must be rewritten
    packServoFrame(GetParam().channels, frame);
    EXPECT_EQ(frame, GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, ServoPacking,
    ::testing::Values(
        PackingCase{"Centre", only(2, 1024), {0x0F, 0, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0,
                                              0,    0, 0, 0, 0, 0,    0, 0, 0, 0, 0, 0}},
        PackingCase{"Top", only(2, 2032), {0x0F, 0, 0, 0, 0xFC, 0x01, 0, 0, 0, 0, 0, 0, 0,
                                           0,    0, 0, 0, 0,    0,    0, 0, 0, 0, 0, 0}},
        PackingCase{"Bottom", only(2, 16), {0x0F, 0, 0, 0, 0x04, 0, 0, 0, 0, 0, 0, 0, 0,
                                            0,    0, 0, 0, 0,    0, 0, 0, 0, 0, 0, 0}},
        PackingCase{"AllCentre", all(1024), {0x0F, 0x00, 0x04, 0x20, 0x00, 0x01, 0x08, 0x40, 0x00,
                                             0x02, 0x10, 0x80, 0x00, 0x04, 0x20, 0x00, 0x01, 0x08,
                                             0x40, 0x00, 0x02, 0x10, 0x80, 0x00, 0x00}},
        // Bits 11-15 are dropped and do not spill into channel 3.
        PackingCase{"HighBitsDropped", only(1, 0xFFFF), {0x0F, 0, 0xF8, 0x3F, 0, 0, 0, 0, 0,
                                                         0,    0, 0,    0,    0, 0, 0, 0, 0,
                                                         0,    0, 0,    0,    0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// sendServoFrame goes through the process-wide adapter, which is borrowed here.
class ServoTick : public ::testing::Test {
protected:
    void SetUp() override {
        fake = FakeD2xx{};
        d2xxAdapter().driver = fakeDriverTable();
        d2xxAdapter().handle = FakeD2xx::handle();
        resetDroppedServoFrames();
        ChannelValues[2] = 1024;
    }
    void TearDown() override {
        ChannelValues[2] = 0;
        d2xxAdapter().driver = DriverTable{};
        d2xxAdapter().handle = nullptr;
    }
};

TEST_F(ServoTick, SendsThePackedChannelValues) {
    sendServoFrame();
    ServoFrame expected{};
    packServoFrame(only(2, 1024), expected);
    ASSERT_EQ(fake.writes.size(), 1U);
    EXPECT_EQ(fake.writes[0], std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(droppedServoFrames(), 0U);
}

TEST_F(ServoTick, FailedWriteDropsTheFrameAndCountsIt) {
    fake.failing = "FT_Write";
    EXPECT_NO_THROW(sendServoFrame());
    d2xxAdapter().driver.FT_Write = nullptr;
    EXPECT_NO_THROW(sendServoFrame());
    EXPECT_EQ(droppedServoFrames(), 2U);
    resetDroppedServoFrames();
    EXPECT_EQ(droppedServoFrames(), 0U);
}

template <class Condition> bool waitFor(Condition condition) {
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(PeriodicTimer, NoTickAfterKillReturns) {
    std::atomic<int> ticks{0};
    PeriodicTimer timer;
    timer.start(5ms, [&] { ++ticks; });
    EXPECT_TRUE(timer.running());
    ASSERT_TRUE(waitFor([&] { return ticks >= 3; }));
    timer.kill();
    EXPECT_FALSE(timer.running());
    const int atKill = ticks;
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(ticks, atKill);
}

TEST(PeriodicTimer, KillWaitsForTheRunningTick) {
    std::atomic<bool> inTick{false};
    PeriodicTimer timer;
    timer.start(1ms, [&] {
        inTick = true;
        std::this_thread::sleep_for(40ms);
        inTick = false;
    });
    ASSERT_TRUE(waitFor([&] { return inTick.load(); }));
    timer.kill();
    EXPECT_FALSE(inTick);
}

TEST(PeriodicTimer, StartingAgainReplacesTheRunningTick) {
    std::atomic<int> first{0};
    std::atomic<int> second{0};
    PeriodicTimer timer;
    timer.start(2ms, [&] { ++first; });
    ASSERT_TRUE(waitFor([&] { return first > 0; }));
    timer.start(2ms, [&] { ++second; });
    const int firstAtRestart = first;
    ASSERT_TRUE(waitFor([&] { return second >= 3; }));
    EXPECT_EQ(first, firstAtRestart);
}

TEST(ServoDrive, TimerFramesReachTheSimulatedUnitUntilKilled) {
    ASSERT_TRUE(d2xxAdapter().driver.load(VARNEL_SIM_PATH));
    startSimulatedSession();
    wakeSimulatedUnit();
    Kelvo kelvo(&d2xxAdapter());
    kelvo.servoDrive(true);
    ASSERT_EQ(simServoDriveOn(), 1);

    ChannelValues[2] = 1500;
    PeriodicTimer timer;
    timer.start(10ms, sendServoFrame);
    ASSERT_TRUE(waitFor([] { return simServoFrameCount() >= 3; }));
    timer.kill();
    const std::size_t atKill = simServoFrameCount();
    std::this_thread::sleep_for(40ms);
    EXPECT_EQ(simServoFrameCount(), atKill);

    // The frames' spacing is the benchmark's to measure: on a loaded machine without
    // real-time priority it says nothing about the code.
    SimServoFrame last{};
    ASSERT_EQ(simGetServoFrame(atKill - 1, &last), 1);
    EXPECT_EQ(last.channels[2], 1500);
    EXPECT_EQ(last.channels[1], 0);

    kelvo.servoDrive(false);
    EXPECT_EQ(simServoDriveOn(), 0);
    ChannelValues[2] = 0;
    d2xxAdapter().close();
}

} // namespace
