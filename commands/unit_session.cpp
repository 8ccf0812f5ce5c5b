#include "commands/unit_session.h"

#include "commands/backup_store.h"
#include "commands/settings_file.h"
#include "commands/unit_commands.h"
#include "device/servo_frame.h"
#include "settings/factory_defaults.h"
#include "settings/packing.h"
#include "settings/settings_image.h"

#include <utility>

WritePacking WritePacking::of(const SettingsImage& image) {
    return {image.controlResponse(), image.governorGain(), false};
}

UnitSession::UnitSession(ComDevice& port, SleepFunction sleep, std::function<void()> sendFrame,
                         std::unique_ptr<PeriodicTimer> frameTimer)
    : unit(&port, sleep), port(&port), sleep(sleep),
      procedure(unit, std::move(sleep), std::move(sendFrame), std::move(frameTimer)) {}

void UnitSession::usePort(ComDevice& newPort) {
    port = &newPort;
    unit.device = &newPort;
}

CommandOutcome UnitSession::read() {
    // The servo frames stop before the adapter carries this command's bytes.
    if (limitMode && endLimitPoints() != CommandOutcome::Done) {
        return CommandOutcome::ReadError;
    }
    const UnitCommandResult result = readFromUnit(unit, *port, sleep);
    if (!result.succeeded) {
        return outcomeOf(result.message);
    }
    hasReadUnit = true;
    if (backups != nullptr) {
        backups->keep(unit.receivedImage);
    }
    return outcomeOf(result.message);
}

CommandOutcome UnitSession::write(const WritePacking& packing) {
    packControlResponseAndGain(packing.controlResponse, packing.governorGain, unit.workingImage);
    if (limitMode && endLimitPoints() != CommandOutcome::Done) {
        return CommandOutcome::WriteError;
    }
    return outcomeOf(writeToUnit(unit, packing.notUsingId, sleep).message);
}

void UnitSession::initialize() {
    applyFactoryDefaults(unit.workingImage);
}

CommandOutcome UnitSession::open(const std::string& path) {
    if (!fileIsReadable(path)) {
        return CommandOutcome::FileReadError;
    }
    const CommandOutcome outcome = outcomeOf(loadSettingsFile(unit.workingImage, path));
    if (succeeded(outcome)) {
        settingsFilePath = path;
        hasSettingsFilePath = true;
    }
    return outcome;
}

CommandOutcome UnitSession::openCopy(const std::string& path) {
    const CommandOutcome outcome = open(path);
    if (succeeded(outcome)) {
        settingsFilePath.clear();
        hasSettingsFilePath = false;
    }
    return outcome;
}

CommandOutcome UnitSession::save() {
    if (!hasSettingsFilePath) {
        return CommandOutcome::FileWriteError;
    }
    return outcomeOf(saveSettingsFile(unit.workingImage, settingsFilePath));
}

CommandOutcome UnitSession::saveAs(const std::string& path) {
    const CommandOutcome outcome = outcomeOf(saveSettingsFile(unit.workingImage, path));
    settingsFilePath = path;
    hasSettingsFilePath = true;
    return outcome;
}

CommandOutcome UnitSession::startLimitPoints(int servoSliderPosition) {
    limitMode = true;
    if (runMapped(false, [&] { procedure.start(servoSliderPosition); }) != noMessage) {
        endLimitPoints();
        return CommandOutcome::AdapterFault;
    }
    return CommandOutcome::LimitPoint1Wanted;
}

CommandOutcome UnitSession::setLimitPoint(int servoSliderPosition) {
    if (!limitMode) {
        return CommandOutcome::Done;
    }
    switch (procedure.set(servoSliderPosition, unit.workingImage)) {
    case LimitPointProcedure::SetOutcome::FirstPointTaken:
        return CommandOutcome::LimitPoint2Wanted;
    case LimitPointProcedure::SetOutcome::Stored:
        // The frames have stopped with the servo centred; no servo-drive command is sent.
        limitMode = false;
        return CommandOutcome::LimitPointsStored;
    case LimitPointProcedure::SetOutcome::OutOfRange:
        return CommandOutcome::LimitOutOfRange;
    case LimitPointProcedure::SetOutcome::SameDirection:
        return CommandOutcome::LimitSameDirection;
    case LimitPointProcedure::SetOutcome::FramesDropped:
        // The servo may not stand where the slider says: the point is not taken.
        return CommandOutcome::AdapterFault;
    case LimitPointProcedure::SetOutcome::Ignored:
        break;
    }
    return CommandOutcome::Done;
}

void UnitSession::moveServo(int servoSliderPosition) {
    ChannelValues[LimitPointProcedure::servoChannel] =
        static_cast<std::uint16_t>(servoSliderPosition);
}

CommandOutcome UnitSession::endLimitPoints() {
    limitMode = false;
    return runMapped(false, [&] { procedure.end(); }) == noMessage ? CommandOutcome::Done
                                                                   : CommandOutcome::AdapterFault;
}

CloseQuestion UnitSession::closeQuestion() const {
    return ::closeQuestion(unit.workingImage, unit.receivedImage, hasReadUnit);
}
