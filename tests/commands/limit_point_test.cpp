#include "commands/limit_point_procedure.h"
#include "device/kelvo.h"
#include "device/servo_frame.h"
#include "settings/factory_defaults.h"
#include "settings/scales.h"
#include "sim_fixture.h"
#include "timer_without_thread.h"

#include <system_error>
#include <thread>

using namespace std::chrono_literals;

namespace {

class LimitPointTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        applyFactoryDefaults(kelvo.workingImage);
    }

    // Waits, in real time, until the unit has decoded a few more servo frames.
    static void awaitFrames(std::size_t more) {
        const std::size_t target = simServoFrameCount() + more;
        for (int i = 0; i < 100 && simServoFrameCount() < target; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_GE(simServoFrameCount(), target);
    }

    static SimServoFrame lastFrame() {
        SimServoFrame frame{};
        EXPECT_TRUE(simGetServoFrame(simServoFrameCount() - 1, &frame));
        return frame;
    }

    Kelvo kelvo{&theAdapter(), [](std::chrono::milliseconds) {}};
    LimitPointProcedure procedure{kelvo, recordPause()};
};

} // namespace

TEST_F(LimitPointTest, ServoFollowsTheSliderOnChannelThreeOnly) {
    procedure.start(1024);
    EXPECT_EQ(simServoDriveOn(), 1);
    EXPECT_EQ(pauses, (std::vector{100ms}));
    awaitFrames(2);
    ChannelValues[2] = 1800;
    awaitFrames(2);
    const SimServoFrame frame = lastFrame();
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_EQ(frame.channels[channel], channel == 2 ? 1800 : 0) << channel;
    }
    procedure.end();
    EXPECT_FALSE(procedure.framesRunning());
    EXPECT_EQ(simServoDriveOn(), 0);
    EXPECT_EQ(ChannelValues[2], 1024);
    const std::size_t frames = simServoFrameCount();
    std::this_thread::sleep_for(120ms);
    EXPECT_EQ(simServoFrameCount(), frames) << "no frame after the procedure ended";
}

TEST_F(LimitPointTest, BandEdgesDecideWhetherThePointIsTaken) {
    struct Case {
        int slider;
        bool accepted;
    };
    for (const Case c : {Case{687, true}, Case{688, false}, Case{1360, false}, Case{1361, true}}) {
        procedure.start(c.slider);
        const auto outcome = procedure.set(c.slider, kelvo.workingImage);
        EXPECT_EQ(outcome, c.accepted ? LimitPointProcedure::SetOutcome::FirstPointTaken
                                      : LimitPointProcedure::SetOutcome::OutOfRange)
            << c.slider;
        procedure.end();
    }
}

TEST_F(LimitPointTest, PointsOnOppositeSidesAreStoredHigherFirst) {
    for (const auto& [first, second] : {std::pair{1400, 600}, std::pair{600, 1400}}) {
        SettingsImage image = kelvo.workingImage;
        procedure.start(1024);
        ASSERT_EQ(procedure.set(first, image), LimitPointProcedure::SetOutcome::FirstPointTaken);
        pauses.clear();
        ChannelValues[2] = static_cast<std::uint16_t>(second);
        EXPECT_EQ(procedure.set(second, image), LimitPointProcedure::SetOutcome::Stored);
        EXPECT_EQ(pauses, (std::vector{100ms})) << "the servo settles at the centre first";
        EXPECT_EQ(ChannelValues[2], 1024);
        EXPECT_FALSE(procedure.framesRunning());
        EXPECT_EQ(image.limitPoint1(), 5616);
        EXPECT_EQ(image.limitPoint2(), 4016);
        EXPECT_EQ(servoToDisplay(image.limitPoint1()), 56);
        EXPECT_EQ(servoToDisplay(image.limitPoint2()), 63);
        EXPECT_EQ(simServoDriveOn(), 1) << "a completed procedure sends no servo-drive command";
        procedure.end();
    }
}

TEST_F(LimitPointTest, RefusedSecondPointsLeaveTheImageAlone) {
    struct Case {
        int first;
        int second;
        LimitPointProcedure::SetOutcome outcome;
    };
    for (const Case c : {Case{1400, 1500, LimitPointProcedure::SetOutcome::SameDirection},
                         Case{300, 200, LimitPointProcedure::SetOutcome::SameDirection},
                         Case{1400, 1000, LimitPointProcedure::SetOutcome::OutOfRange}}) {
        const SettingsImage before = kelvo.workingImage;
        procedure.start(1024);
        ASSERT_EQ(procedure.set(c.first, kelvo.workingImage),
                  LimitPointProcedure::SetOutcome::FirstPointTaken);
        EXPECT_EQ(procedure.set(c.second, kelvo.workingImage), c.outcome);
        EXPECT_EQ(kelvo.workingImage, before);
        procedure.end();
    }
}

TEST_F(LimitPointTest, ServoDriveThatCannotBeSentRaisesAndStartsNoFrames) {
    simSetFault(SIM_FAULT_WRITE, 0);
    EXPECT_THROW(procedure.start(1024), ComDevice::WriteError);
    EXPECT_FALSE(procedure.framesRunning());
}

TEST_F(LimitPointTest, DroppedFramesAreNoticed) {
    procedure.start(1024);
    awaitFrames(1);
    EXPECT_FALSE(procedure.framesDropped());
    simSetFault(SIM_FAULT_WRITE, 0);
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    while (!procedure.framesDropped() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(procedure.framesDropped());
    EXPECT_THROW(procedure.end(), ComDevice::WriteError);
    EXPECT_FALSE(procedure.framesRunning());
}

// A frame lost just before Set: the servo may not stand where the slider says, so the
// point is refused, whichever of the two it is, and nothing is stored.
TEST_F(LimitPointTest, AFrameDroppedBeforeSetRefusesThePoint) {
    for (const bool secondPoint : {false, true}) {
        const SettingsImage before = kelvo.workingImage;
        procedure.start(1024);
        awaitFrames(1);
        if (secondPoint) {
            ASSERT_EQ(procedure.set(1400, kelvo.workingImage),
                      LimitPointProcedure::SetOutcome::FirstPointTaken);
        }
        simSetFault(SIM_FAULT_WRITE, 0);
        for (int i = 0; i < 100 && !procedure.framesDropped(); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_TRUE(procedure.framesDropped());
        simSetFault(SIM_FAULT_NONE, 0);
        EXPECT_EQ(procedure.set(600, kelvo.workingImage),
                  LimitPointProcedure::SetOutcome::FramesDropped)
            << (secondPoint ? "second point" : "first point");
        EXPECT_EQ(kelvo.workingImage, before);
        procedure.end();
        EXPECT_EQ(simServoDriveOn(), 0);
    }
}

TEST_F(LimitPointTest, AFrameTimerThatCannotStartIsReportedAndSendsNothing) {
    LimitPointProcedure withoutThread{kelvo, recordPause(),
                                      LimitPointProcedure::defaultFrameSender(),
                                      std::make_unique<TimerWithoutThread>()};
    EXPECT_THROW(withoutThread.start(1024), std::system_error);
    EXPECT_FALSE(withoutThread.framesRunning());
    withoutThread.end();
    EXPECT_EQ(simServoDriveOn(), 0);
    EXPECT_EQ(simServoFrameCount(), 0U);
}
