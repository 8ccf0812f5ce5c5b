#include "commands/limit_point_procedure.h"

#include "device/kelvo.h"
#include "device/servo_frame.h"
#include "settings/scales.h"
#include "settings/settings_image.h"

#include <utility>

LimitPointProcedure::LimitPointProcedure(Kelvo& kelvo, SleepFunction sleep,
                                         std::function<void()> sendFrame,
                                         std::unique_ptr<PeriodicTimer> frameTimer)
    : kelvo(kelvo), sleep(std::move(sleep)), sendFrame(std::move(sendFrame)),
      timer(frameTimer ? std::move(frameTimer) : std::make_unique<PeriodicTimer>()) {}

LimitPointProcedure::~LimitPointProcedure() {
    timer->kill();
}

std::function<void()> LimitPointProcedure::defaultFrameSender() {
    return sendServoFrame;
}

void LimitPointProcedure::start(int servoSliderPosition) {
    recordedPulse1 = initialPulse1;
    recordedPulse2 = initialPulse2;
    limitStep = 0;
    kelvo.servoDrive(true);
    // The unit needs the pause to switch over before the first servo frame.
    sleep(settlePause);
    ChannelValues[servoChannel] = static_cast<std::uint16_t>(servoSliderPosition);
    droppedAtStart = droppedServoFrames();
    timer->start(framePeriod, sendFrame);
}

LimitPointProcedure::SetOutcome LimitPointProcedure::set(int servoSliderPosition,
                                                         SettingsImage& image) {
    const auto pulse = static_cast<std::uint16_t>(sliderToServoUnits(servoSliderPosition));
    if (framesDropped()) {
        return SetOutcome::FramesDropped;
    }
    if (limitStep == 0) {
        recordedPulse1 = pulse;
        if (!pointsOutsideCentreBand()) {
            return SetOutcome::OutOfRange;
        }
        limitStep = 1;
        return SetOutcome::FirstPointTaken;
    }
    if (limitStep != 1) {
        return SetOutcome::Ignored;
    }
    // The servo returns to the centre before the second point is judged.
    ChannelValues[servoChannel] = static_cast<std::uint16_t>(servoSliderCentre);
    sleep(settlePause);
    recordedPulse2 = pulse;
    if (!pointsOutsideCentreBand()) {
        return SetOutcome::OutOfRange;
    }
    if (!onOppositeSides()) {
        return SetOutcome::SameDirection;
    }
    timer->kill();
    // A frame lost during the pause: the servo did not come back as the user saw.
    if (framesDropped()) {
        return SetOutcome::FramesDropped;
    }
    const bool firstIsHigher = recordedPulse1 > recordedPulse2;
    image.setLimitPoint1(firstIsHigher ? recordedPulse1 : recordedPulse2);
    image.setLimitPoint2(firstIsHigher ? recordedPulse2 : recordedPulse1);
    return SetOutcome::Stored;
}

void LimitPointProcedure::end() {
    timer->kill();
    // A frame already under way must finish before the port carries anything else.
    sleep(settlePause);
    ChannelValues[servoChannel] = static_cast<std::uint16_t>(servoSliderCentre);
    kelvo.servoDrive(false);
}

bool LimitPointProcedure::framesDropped() const {
    return droppedServoFrames() != droppedAtStart;
}

bool LimitPointProcedure::pointsOutsideCentreBand() const {
    return !inCentreBand(recordedPulse1) && !inCentreBand(recordedPulse2);
}

bool LimitPointProcedure::onOppositeSides() const {
    return (recordedPulse1 > bandHigh && recordedPulse2 < bandLow) ||
           (recordedPulse2 > bandHigh && recordedPulse1 < bandLow);
}
