#pragma once

#include "device/periodic_timer.h"
#include "device/sleep.h"
#include "settings/scales.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class Kelvo;
class SettingsImage;

// The device side of setting the two servo limit points: the servo is driven live by
// S.BUS frames every 50 ms while the user moves it to each end and takes the points.
// The dialog shows the steps; this class keeps the order of the adapter's users.
class LimitPointProcedure {
public:
    static constexpr int bandLow = limitBandLow;
    static constexpr int bandHigh = limitBandHigh;
    static constexpr int initialPulse1 = 6208;
    static constexpr int initialPulse2 = 3520;
    static constexpr int servoChannel = 2;
    static constexpr std::chrono::milliseconds framePeriod{50};
    static constexpr std::chrono::milliseconds settlePause{100};

    enum class SetOutcome {
        FirstPointTaken, // beep, ask for the second point
        Stored,          // both points are in the image; the servo frames have stopped
        OutOfRange,      // a point lies in the centre band: end the procedure
        SameDirection,   // both points on one side: end the procedure
        FramesDropped,   // the servo may not have followed the slider: end the procedure
        Ignored,
    };

    LimitPointProcedure(Kelvo& kelvo, SleepFunction sleep,
                        std::function<void()> sendFrame = defaultFrameSender(),
                        std::unique_ptr<PeriodicTimer> frameTimer = nullptr);
    ~LimitPointProcedure();
    LimitPointProcedure(const LimitPointProcedure&) = delete;
    LimitPointProcedure& operator=(const LimitPointProcedure&) = delete;

    // Servo drive on, a pause, the servo at the slider, then the frames start.
    // Raises ComDevice::WriteError when the servo-drive command cannot be sent, and
    // std::system_error when the frame timer cannot start; no frames are sent then, and
    // the caller ends the procedure.
    void start(int servoSliderPosition);

    // Takes the point the servo slider stands at. Stores both points in the image,
    // the higher as limit point 1, once the second one is accepted. A frame dropped
    // since the start refuses the point: the servo may stand elsewhere than the slider.
    SetOutcome set(int servoSliderPosition, SettingsImage& image);

    // Frames stopped, a pause, the servo centred, then servo drive off. Nothing is
    // stored. Raises ComDevice::WriteError when servo drive off cannot be sent.
    void end();

    // Whether a servo frame could not be sent since the procedure started.
    bool framesDropped() const;
    bool framesRunning() const { return timer->running(); }

    int limitStep = 0;
    std::uint16_t recordedPulse1 = 0;
    std::uint16_t recordedPulse2 = 0;

    static std::function<void()> defaultFrameSender();

    // Both recorded points lie outside the centre band.
    bool pointsOutsideCentreBand() const;

private:
    static bool inCentreBand(int pulse) { return pulse >= bandLow && pulse <= bandHigh; }
    bool onOppositeSides() const;

    Kelvo& kelvo;
    SleepFunction sleep;
    std::function<void()> sendFrame;
    std::unique_ptr<PeriodicTimer> timer;
    std::uint32_t droppedAtStart = 0;
};
