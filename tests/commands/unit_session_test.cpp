#include "commands/backup_store.h"
#include "commands/unit_session.h"
#include "device/servo_frame.h"
#include "resources/string_table.h"
#include "settings/factory_defaults.h"
#include "sim_fixture.h"
#include "temp_folder.h"

#include <algorithm>
#include <set>

using namespace std::chrono_literals;

namespace {

class UnitSessionTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        session.keepBackupsIn(&backups);
    }

    std::vector<std::uint8_t> bytesOf(const SettingsImage& image) {
        return {image.raw().begin(), image.raw().end()};
    }
    std::size_t backupCount() { return backups.backupsOf(session.receivedImage().unitId()).size(); }

    TempFolder temp;
    std::vector<std::string> reports;
    BackupStore backups{temp.path() / "backups",
                        [this](std::string_view line) { reports.emplace_back(line); }};
    UnitSession session{theAdapter(), recordPause()};
};

struct SessionFault {
    const char* name;
    bool write;
    int fault;
    int argument;
    CommandOutcome outcome;
};

void PrintTo(const SessionFault& c, std::ostream* out) {
    *out << c.name;
}

class SessionFaultTest : public UnitSessionTest,
                         public ::testing::WithParamInterface<SessionFault> {};

} // namespace

TEST_F(UnitSessionTest, ReadTakesTheUnitsRecordAndKeepsABackup) {
    EXPECT_FALSE(session.unitRead());
    EXPECT_EQ(session.read(), CommandOutcome::Connected);
    EXPECT_TRUE(session.unitRead());
    EXPECT_EQ(session.workingImage(), session.receivedImage());
    EXPECT_EQ(session.receivedImage().unitId(), 10775);
    EXPECT_EQ(session.closeQuestion(), CloseQuestion::None);
    const auto kept = backups.backupsOf(10775);
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_EQ(TempFolder::readBytes(kept[0]), bytesOf(session.receivedImage()));

    // The same record again adds nothing.
    EXPECT_EQ(session.read(), CommandOutcome::Connected);
    EXPECT_EQ(backupCount(), 1U);
}

TEST_F(UnitSessionTest, WriteSendsThePackedImageAndProvesIt) {
    ASSERT_EQ(session.read(), CommandOutcome::Connected);
    session.workingImage().setTargetRpm(0, 2345);
    EXPECT_EQ(session.closeQuestion(), CloseQuestion::OfferWrite);
    // Out-of-range packing is clamped, never truncated.
    EXPECT_EQ(session.write({5, 300, false}), CommandOutcome::Written);
    const auto record = unitRecord();
    EXPECT_EQ(record[32] | record[33] << 8, 2345);
    EXPECT_EQ(record[80] & 0x03, 3);
    EXPECT_EQ(record[60], 255);
    EXPECT_EQ(session.closeQuestion(), CloseQuestion::None);
}

TEST_F(UnitSessionTest, WriteOfARecordAsItStandsKeepsItsOwnResponseAndGain) {
    ASSERT_EQ(session.read(), CommandOutcome::Connected);
    session.workingImage().setControlResponse(2);
    session.workingImage().setGovernorGain(60);
    EXPECT_EQ(session.write(WritePacking::of(session.workingImage())), CommandOutcome::Written);
    EXPECT_EQ(unitRecord()[80] & 0x03, 2);
    EXPECT_EQ(unitRecord()[60], 60);
}

TEST_P(SessionFaultTest, FailureLeavesTheImagesAndThePreviousBackup) {
    ASSERT_EQ(session.read(), CommandOutcome::Connected);
    const std::vector<std::uint8_t> before = unitRecord();
    session.workingImage().setTargetRpm(0, 2345);
    const SettingsImage working = session.workingImage();
    simSetFault(GetParam().fault, GetParam().argument);
    const CommandOutcome outcome =
        GetParam().write ? session.write({1, 40, false}) : session.read();
    EXPECT_EQ(outcome, GetParam().outcome);
    EXPECT_FALSE(succeeded(outcome));
    EXPECT_TRUE(session.unitRead());
    if (!GetParam().write) {
        EXPECT_EQ(session.workingImage(), working);
    }
    // Whatever the unit now holds, the record it had before is still kept.
    const auto kept = backups.backupsOf(10775);
    ASSERT_EQ(kept.size(), 1U);
    EXPECT_TRUE(std::equal(before.begin() + 6, before.begin() + 84,
                           TempFolder::readBytes(kept[0]).begin() + 6));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SessionFaultTest,
    ::testing::Values(
        SessionFault{"ReadNoReply", false, SIM_FAULT_NO_REPLY, 0, CommandOutcome::ReadError},
        SessionFault{"ReadPurge", false, SIM_FAULT_PURGE, 0, CommandOutcome::AdapterFault},
        SessionFault{"ReadForeign", false, SIM_FAULT_FOREIGN_MODEL, 0x8C,
                     CommandOutcome::ForeignModel},
        SessionFault{"ReadPreambleFails", false, SIM_FAULT_WRITE, 0, CommandOutcome::ReadError},
        SessionFault{"WriteVerify", true, SIM_FAULT_STORE_DIFFERENTLY, 40,
                     CommandOutcome::WriteError},
        SessionFault{"WriteFrame", true, SIM_FAULT_WRITE, 3, CommandOutcome::WriteError},
        SessionFault{"WriteForeign", true, SIM_FAULT_FOREIGN_MODEL, 0x8C,
                     CommandOutcome::ForeignModel},
        SessionFault{"WritePurge", true, SIM_FAULT_PURGE, 0, CommandOutcome::AdapterFault}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnitSessionTest, ABackupThatCannotBeWrittenDoesNotFailTheRead) {
    TempFolder::writeBytes(temp.path() / "backups", {0});
    EXPECT_EQ(session.read(), CommandOutcome::Connected);
    EXPECT_TRUE(session.unitRead());
    EXPECT_EQ(reports.size(), 1U);
}

TEST_F(UnitSessionTest, ReadAndWriteEndARunningLimitPointProcedureFirst) {
    ASSERT_EQ(session.read(), CommandOutcome::Connected);
    for (const bool write : {false, true}) {
        ASSERT_EQ(session.startLimitPoints(1024), CommandOutcome::LimitPoint1Wanted);
        EXPECT_EQ(simServoDriveOn(), 1);
        const CommandOutcome outcome =
            write ? session.write(WritePacking::of(session.workingImage())) : session.read();
        EXPECT_TRUE(succeeded(outcome));
        EXPECT_FALSE(session.limitPointModeOn());
        EXPECT_FALSE(session.limitPoints().framesRunning());
        EXPECT_EQ(simServoDriveOn(), 0);
    }
}

TEST_F(UnitSessionTest, LimitPointsAreStoredHigherFirstAndRefusalsWaitForTheEnd) {
    ASSERT_EQ(session.read(), CommandOutcome::Connected);
    ASSERT_EQ(session.startLimitPoints(1024), CommandOutcome::LimitPoint1Wanted);
    EXPECT_EQ(session.setLimitPoint(600), CommandOutcome::LimitPoint2Wanted);
    EXPECT_EQ(session.setLimitPoint(1400), CommandOutcome::LimitPointsStored);
    EXPECT_FALSE(session.limitPointModeOn());
    EXPECT_EQ(session.workingImage().limitPoint1(), 5616);
    EXPECT_EQ(session.workingImage().limitPoint2(), 4016);
    EXPECT_EQ(session.closeQuestion(), CloseQuestion::OfferWrite);

    const SettingsImage stored = session.workingImage();
    ASSERT_EQ(session.startLimitPoints(1024), CommandOutcome::LimitPoint1Wanted);
    EXPECT_EQ(session.setLimitPoint(1400), CommandOutcome::LimitPoint2Wanted);
    EXPECT_EQ(session.setLimitPoint(1500), CommandOutcome::LimitSameDirection);
    EXPECT_TRUE(session.limitPointModeOn()) << "the user is told before the servo stops";
    EXPECT_EQ(session.endLimitPoints(), CommandOutcome::Done);
    EXPECT_EQ(simServoDriveOn(), 0);
    EXPECT_EQ(session.workingImage(), stored);
    EXPECT_EQ(session.setLimitPoint(600), CommandOutcome::Done) << "no procedure runs";
}

TEST_F(UnitSessionTest, ALimitPointStartTheUnitRefusesEndsAgain) {
    simSetFault(SIM_FAULT_WRITE, 0);
    EXPECT_EQ(session.startLimitPoints(1024), CommandOutcome::AdapterFault);
    EXPECT_FALSE(session.limitPointModeOn());
    EXPECT_FALSE(session.limitPoints().framesRunning());
}

TEST_F(UnitSessionTest, InitializeKeepsTheUnitsHeader) {
    ASSERT_EQ(session.read(), CommandOutcome::Connected);
    session.initialize();
    EXPECT_EQ(session.workingImage().unitId(), 10775);
    EXPECT_TRUE(std::equal(FactoryDefaults.begin(), FactoryDefaults.end(),
                           session.workingImage().raw().begin() + 4));
}

TEST_F(UnitSessionTest, OpenRemembersOnlyAFileThatLoaded) {
    const std::string good = temp / "good.gvx";
    SettingsImage image;
    applyFactoryDefaults(image);
    image.setTargetRpm(0, 3000);
    TempFolder::writeBytes(good, bytesOf(image));
    EXPECT_EQ(session.open(good), CommandOutcome::Done);
    EXPECT_EQ(session.filePath(), good);
    EXPECT_EQ(session.workingImage().targetRpm(0), 3000);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> content;
        CommandOutcome outcome;
    };
    std::vector<std::uint8_t> foreign = bytesOf(image);
    foreign[1] = 0x8C;
    const Case cases[] = {
        {"short.gvx", std::vector<std::uint8_t>(40, 1), CommandOutcome::FileReadError},
        {"foreign.gvx", foreign, CommandOutcome::ForeignModel},
    };
    for (const Case& c : cases) {
        TempFolder::writeBytes(temp / c.name, c.content);
        EXPECT_EQ(session.open(temp / c.name), c.outcome) << c.name;
        EXPECT_EQ(session.filePath(), good) << c.name;
        EXPECT_EQ(session.workingImage().targetRpm(0), 3000) << c.name;
    }
    EXPECT_EQ(session.open(temp / "missing.gvx"), CommandOutcome::FileReadError);
    EXPECT_EQ(session.filePath(), good);

    // Save goes to the file that loaded, not to one that was refused.
    session.workingImage().setTargetRpm(0, 3100);
    EXPECT_EQ(session.save(), CommandOutcome::Done);
    EXPECT_EQ(TempFolder::readBytes(good)[32], 3100 & 0xFF);
    EXPECT_EQ(TempFolder::readBytes(temp / "foreign.gvx"), foreign);
}

TEST_F(UnitSessionTest, SaveAsRemembersItsPathEvenWhenTheSaveFails) {
    EXPECT_FALSE(session.hasFilePath());
    EXPECT_EQ(session.save(), CommandOutcome::FileWriteError);
    const std::string unwritable = temp / "missing-folder/x.gvx";
    EXPECT_EQ(session.saveAs(unwritable), CommandOutcome::FileWriteError);
    EXPECT_TRUE(session.hasFilePath());
    EXPECT_EQ(session.filePath(), unwritable);
    EXPECT_EQ(session.saveAs(temp / "x.gvx"), CommandOutcome::Done);
    EXPECT_EQ(TempFolder::readBytes(temp / "x.gvx"), bytesOf(session.workingImage()));
}

TEST(CommandOutcomes, EachHasItsOwnMessage) {
    std::set<int> seen;
    for (int i = 0; i <= static_cast<int>(CommandOutcome::LimitCancelled); ++i) {
        const auto outcome = static_cast<CommandOutcome>(i);
        const int message = messageOf(outcome);
        EXPECT_TRUE(seen.insert(message).second) << message;
        EXPECT_EQ(outcomeOf(message), outcome);
        EXPECT_EQ(message == noMessage, outcome == CommandOutcome::Done);
        if (message != noMessage) {
            EXPECT_NE(*messageText(message), '\0') << message;
        }
    }
    EXPECT_EQ(outcomeOf(9999), CommandOutcome::UnknownError);
}
