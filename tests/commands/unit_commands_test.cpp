#include "commands/unit_commands.h"
#include "device/kelvo.h"
#include "resources/string_table.h"
#include "settings/factory_defaults.h"
#include "sim_fixture.h"

#include <algorithm>

using namespace std::chrono_literals;

namespace {

using ReadCommandTest = SimulatedUnitTest;
using WriteCommandTest = SimulatedUnitTest;

bool sameBlocks(const SettingsImage& image, const std::vector<std::uint8_t>& record) {
    return std::equal(image.raw().begin() + 6, image.raw().begin() + 84, record.begin() + 6);
}

// The image a user has edited: factory values with a few settings changed.
SettingsImage editedImage(const SettingsImage& readImage) {
    SettingsImage image = readImage;
    image.setTargetRpm(0, 2345);
    image.setGovernorGain(77);
    image.setLimitPoint1(6000);
    return image;
}

struct FaultCase {
    const char* name;
    bool write; // the Write command, else the Read command
    int fault;
    int argument;
    int message;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

} // namespace

TEST_F(ReadCommandTest, WakesTheUnitAndTakesItsRecord) {
    Kelvo kelvo(&theAdapter(), recordPause());
    const auto result = readFromUnit(kelvo, theAdapter(), recordPause());
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.message, msg::connected);
    EXPECT_EQ(pauses, (std::vector{1500ms}));
    const auto written = writtenBytes();
    ASSERT_GE(written.size(), 1000U + 17U);
    EXPECT_TRUE(std::all_of(written.begin(), written.begin() + 1000,
                            [](std::uint8_t b) { return b == 0x55; }));
    EXPECT_EQ(written[1000], 0x9F);
    const auto record = unitRecord();
    EXPECT_TRUE(sameBlocks(kelvo.workingImage, record));
    EXPECT_EQ(kelvo.workingImage.raw()[2], record[2]);
    EXPECT_EQ(kelvo.workingImage.raw()[3], record[3]);
    EXPECT_EQ(kelvo.workingImage, kelvo.receivedImage);
}

TEST_F(WriteCommandTest, LeavesTheUnitHoldingTheWorkingImage) {
    Kelvo kelvo(&theAdapter(), recordPause());
    ASSERT_TRUE(readFromUnit(kelvo, theAdapter(), recordPause()).succeeded);
    kelvo.workingImage = editedImage(kelvo.workingImage);
    pauses.clear();
    const auto result = writeToUnit(kelvo, false, recordPause());
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.message, msg::written);
    std::vector<std::chrono::milliseconds> expected(9, 100ms);
    expected.push_back(500ms);
    EXPECT_EQ(pauses, expected);
    EXPECT_TRUE(sameBlocks(kelvo.workingImage, unitRecord()));
    EXPECT_TRUE(kelvo.receivedImage.sameSettings(kelvo.workingImage));
}

class CommandFaultTest : public SimulatedUnitTest,
                         public ::testing::WithParamInterface<FaultCase> {};

// A failed Read leaves the working image as it was; a failed Write leaves it holding
// what was to be written.
TEST_P(CommandFaultTest, GivesItsMessageAndKeepsTheWorkingImage) {
    Kelvo kelvo(&theAdapter(), recordPause());
    ASSERT_TRUE(readFromUnit(kelvo, theAdapter(), recordPause()).succeeded);
    kelvo.workingImage = editedImage(kelvo.workingImage);
    const SettingsImage before = kelvo.workingImage;
    simSetFault(GetParam().fault, GetParam().argument);
    const auto result = GetParam().write ? writeToUnit(kelvo, false, recordPause())
                                         : readFromUnit(kelvo, theAdapter(), recordPause());
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.message, GetParam().message);
    EXPECT_EQ(kelvo.workingImage, before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CommandFaultTest,
    ::testing::Values(
        FaultCase{"ReadNoReply", false, SIM_FAULT_NO_REPLY, 0, msg::readError},
        FaultCase{"ReadWrongMarker", false, SIM_FAULT_WRONG_MARKER, 0, msg::readError},
        FaultCase{"ReadBadChecksum", false, SIM_FAULT_BAD_CHECKSUM, 0, msg::readError},
        FaultCase{"ReadShortReply", false, SIM_FAULT_SHORT_REPLY, 60, msg::readError},
        FaultCase{"ReadFails", false, SIM_FAULT_READ, 0, msg::readError},
        FaultCase{"ReadPreambleWriteFails", false, SIM_FAULT_WRITE, 0, msg::readError},
        FaultCase{"ReadRequestWriteFails", false, SIM_FAULT_WRITE, 1, msg::readError},
        FaultCase{"ReadPurgeFails", false, SIM_FAULT_PURGE, 0, msg::adapterFault},
        FaultCase{"ReadForeignModel", false, SIM_FAULT_FOREIGN_MODEL, 0x8C, msg::foreignModel},
        FaultCase{"ReadUnplugged", false, SIM_FAULT_UNPLUGGED_AFTER, 0, msg::readError},
        FaultCase{"WriteVerificationMismatch", true, SIM_FAULT_STORE_DIFFERENTLY, 40,
                  msg::writeError},
        FaultCase{"WriteForeignModelOnReadBack", true, SIM_FAULT_FOREIGN_MODEL, 0x8C,
                  msg::foreignModel},
        FaultCase{"WriteFrameFails", true, SIM_FAULT_WRITE, 3, msg::writeError},
        FaultCase{"WriteNoReadBack", true, SIM_FAULT_NO_REPLY, 0, msg::writeError},
        FaultCase{"WriteBadChecksum", true, SIM_FAULT_BAD_CHECKSUM, 0, msg::writeError},
        FaultCase{"WritePurgeFails", true, SIM_FAULT_PURGE, 0, msg::adapterFault},
        FaultCase{"WriteUnplugged", true, SIM_FAULT_UNPLUGGED_AFTER, 0, msg::writeError}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteCommandTest, DifferencesOutsideTheComparedSpanStillVerify) {
    Kelvo kelvo(&theAdapter(), recordPause());
    ASSERT_TRUE(readFromUnit(kelvo, theAdapter(), recordPause()).succeeded);
    // The checksum slot goes out as it stands; the unit answers with its own word.
    kelvo.workingImage.raw()[4] ^= 0xFF;
    kelvo.workingImage.raw()[84] = 0x42;
    EXPECT_TRUE(writeToUnit(kelvo, false, recordPause()).succeeded);
}

TEST(CommandMapping, EachErrorClassHasOneMessagePerCommand) {
    struct Case {
        std::function<void()> raise;
        int readMessage;
        int writeMessage;
    };
    const Case cases[] = {
        {[] { throw ComDevice::OpenError{}; }, msg::adapterMissing, msg::adapterMissing},
        {[] { throw ComDevice::BusyError{}; }, msg::adapterMissing, msg::adapterMissing},
        {[] { throw ComDevice::AccessDeniedError{}; }, msg::adapterMissing, msg::adapterMissing},
        {[] { throw ComDevice::ReadError{}; }, msg::readError, msg::writeError},
        {[] { throw ComDevice::WriteError{}; }, msg::readError, msg::writeError},
        {[] { throw ComDevice::InitializeError{}; }, msg::adapterFault, msg::adapterFault},
        {[] { throw ComDevice::ConnectionError{}; }, msg::adapterFault, msg::adapterFault},
        {[] { throw ProtocolError{}; }, msg::readError, msg::writeError},
        {[] { throw CompatibilityError{}; }, msg::foreignModel, msg::foreignModel},
        {[] { throw std::bad_cast{}; }, msg::adapterFault, msg::adapterFault},
        {[] {}, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runMapped(true, c.raise), c.readMessage);
        EXPECT_EQ(runMapped(false, c.raise), c.writeMessage);
    }
}
