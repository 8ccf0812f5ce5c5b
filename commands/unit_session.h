#pragma once

#include "commands/close_confirmation.h"
#include "commands/limit_point_procedure.h"
#include "commands/outcome.h"
#include "device/kelvo.h"
#include "device/sleep.h"

#include <functional>
#include <memory>
#include <string>

class BackupStore;
class ComDevice;
class PeriodicTimer;

// What a Write adds to the working image before it is sent.
struct WritePacking {
    int controlResponse = 0;
    int governorGain = 0;
    bool notUsingId = false;

    // The image's own control response and gain, for a write of a record as it stands.
    static WritePacking of(const SettingsImage& image);
};

// One session with a unit, without any window: the port, the unit's two images, whether
// the unit was read, the limit point procedure, the remembered settings file and the
// backups of what the unit sent. The dialog and the command line are faces over it.
class UnitSession {
public:
    // frameTimer sends the servo frames; null: a real periodic timer.
    UnitSession(ComDevice& port, SleepFunction sleep,
                std::function<void()> sendFrame = LimitPointProcedure::defaultFrameSender(),
                std::unique_ptr<PeriodicTimer> frameTimer = nullptr);
    UnitSession(const UnitSession&) = delete;
    UnitSession& operator=(const UnitSession&) = delete;

    // Every later command talks through this port. Not owned.
    void usePort(ComDevice& newPort);
    // Where records received by read() are kept; none when null. Not owned.
    void keepBackupsIn(BackupStore* store) { backups = store; }

    Kelvo& kelvo() { return unit; }
    SettingsImage& workingImage() { return unit.workingImage; }
    const SettingsImage& workingImage() const { return unit.workingImage; }
    const SettingsImage& receivedImage() const { return unit.receivedImage; }
    bool unitRead() const { return hasReadUnit; }

    // Ends the limit point procedure, wakes the unit and takes its record into both
    // images. Connected, or the failure; the images stay as they were on a failure.
    CommandOutcome read();
    // Packs the control response and gain, ends the limit point procedure, writes the
    // working image and proves it by reading it back. Written, or the failure.
    CommandOutcome write(const WritePacking& packing);
    // The factory settings into the working image; the header stays.
    void initialize();

    // The remembered settings file changes only with a load that succeeded, so a later
    // save never replaces a file that could not be read with other settings.
    CommandOutcome open(const std::string& path);
    // A load like open(), from a file that must never be replaced by a later save (a
    // backup): once it succeeded, no file is remembered, so the next save asks for a
    // name rather than writing these values over the file opened before.
    CommandOutcome openCopy(const std::string& path);
    // Saves to the remembered file; FileWriteError when there is none.
    CommandOutcome save();
    // Saves to path and remembers it whatever the save reported.
    CommandOutcome saveAs(const std::string& path);
    const std::string& filePath() const { return settingsFilePath; }
    bool hasFilePath() const { return hasSettingsFilePath; }

    // Servo drive on and the frames started: LimitPoint1Wanted. When the unit cannot be
    // switched over, the procedure is ended again and AdapterFault returned.
    CommandOutcome startLimitPoints(int servoSliderPosition);
    // Takes the point the servo slider stands at: LimitPoint2Wanted, LimitPointsStored,
    // or a refusal (LimitOutOfRange, LimitSameDirection), after which the procedure
    // still runs until endLimitPoints(), so the user is told before the servo stops.
    CommandOutcome setLimitPoint(int servoSliderPosition);
    // The servo follows the slider with the next frame.
    void moveServo(int servoSliderPosition);
    // Leaves the procedure without storing anything: Done, or AdapterFault when the
    // servo drive could not be switched off.
    CommandOutcome endLimitPoints();
    bool limitPointModeOn() const { return limitMode; }
    LimitPointProcedure& limitPoints() { return procedure; }

    CloseQuestion closeQuestion() const;

private:
    Kelvo unit;
    ComDevice* port;
    SleepFunction sleep;
    LimitPointProcedure procedure;
    BackupStore* backups = nullptr;
    bool hasReadUnit = false;
    bool limitMode = false;
    std::string settingsFilePath;
    bool hasSettingsFilePath = false;
};
