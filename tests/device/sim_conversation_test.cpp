// Whole conversations with the simulated adapter and unit, bound through the real
// DriverTable::load.

#include "d2xx_adapter.h"
#include "device/kelvo.h"
#include "environment_variable.h"
#include "outcome.h"
#include "sim/sim_control.h"
#include "sim/sim_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Record = std::array<std::uint8_t, 85>;

Record unitRecord() {
    Record record{};
    simGetRecord(record.data());
    return record;
}

class SimulatedUnit : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(d2xxAdapter().driver.load(VARNEL_SIM_PATH)); }

    void SetUp() override { startSimulatedSession(); }
    void TearDown() override { d2xxAdapter().close(); }

    std::vector<std::chrono::milliseconds> pauses;
    Kelvo kelvo{&d2xxAdapter(),
                [this](std::chrono::milliseconds pause) { pauses.push_back(pause); }};
};

TEST_F(SimulatedUnit, OpenSetsTheLine) {
    SimLineSettings line{};
    simGetLineSettings(&line);
    EXPECT_EQ(line.baudRate, 100000U);
    EXPECT_EQ(line.wordLength, 8);
    EXPECT_EQ(line.stopBits, 2);
    EXPECT_EQ(line.parity, 2);
    EXPECT_EQ(line.readTimeout, 5000U);
    EXPECT_EQ(line.writeTimeout, 5000U);
    EXPECT_EQ(line.open, 1);
}

TEST_F(SimulatedUnit, ReadAfterTheWakeUpReceivesTheUnitRecord) {
    wakeSimulatedUnit();
    kelvo.read(true);
    const Record record = unitRecord();
    const auto& received = kelvo.receivedImage.raw();
    EXPECT_TRUE(std::equal(received.begin() + 1, received.begin() + 84, record.begin() + 1));
    EXPECT_NE(kelvo.receivedImage.unitId(), 0);
    EXPECT_EQ(received[84], 0);
}

TEST_F(SimulatedUnit, UnitAnswersOnlyOnceWokenAndAtItsLineSettings) {
    EXPECT_EQ(outcomeOf([&] { kelvo.read(true); }), "ReadError");

    ASSERT_EQ(d2xxAdapter().driver.FT_SetDataCharacteristics(d2xxAdapter().handle, 8, 1, 0),
              d2xx::FT_OK);
    wakeSimulatedUnit();
    EXPECT_EQ(outcomeOf([&] { kelvo.read(true); }), "ReadError");
}

TEST_F(SimulatedUnit, WriteIsCommittedAndReadsBackEqual) {
    wakeSimulatedUnit();
    kelvo.read(true);
    kelvo.workingImage = kelvo.receivedImage;
    kelvo.workingImage.setTargetRpm(0, 2100);
    kelvo.workingImage.raw()[17] ^= 0xFF; // unit data travels too

    kelvo.write(false);
    EXPECT_EQ(pauses, std::vector<std::chrono::milliseconds>(9, 100ms));
    const Record record = unitRecord();
    const auto& working = kelvo.workingImage.raw();
    EXPECT_TRUE(std::equal(record.begin() + 6, record.begin() + 84, working.begin() + 6));

    kelvo.read(true);
    EXPECT_TRUE(kelvo.receivedImage.sameSettings(kelvo.workingImage));
}

TEST_F(SimulatedUnit, InterruptedWriteCommitsNothing) {
    wakeSimulatedUnit();
    const Record before = unitRecord();
    kelvo.workingImage.setTargetRpm(0, 2100);
    simSetFault(SIM_FAULT_WRITE, 3);
    EXPECT_EQ(outcomeOf([&] { kelvo.write(false); }), "WriteError");
    EXPECT_EQ(unitRecord(), before);
}

TEST_F(SimulatedUnit, UnitStoringAByteDifferentlyFailsTheVerification) {
    wakeSimulatedUnit();
    kelvo.read(true);
    kelvo.workingImage = kelvo.receivedImage;
    simSetFault(SIM_FAULT_STORE_DIFFERENTLY, 40);
    kelvo.write(false);
    kelvo.read(true);
    EXPECT_FALSE(kelvo.receivedImage.sameSettings(kelvo.workingImage));
    EXPECT_NE(kelvo.receivedImage.raw()[40], kelvo.workingImage.raw()[40]);
}

TEST_F(SimulatedUnit, RecordFileKeepsWritesBetweenPowerCycles) {
    const std::string path = ::testing::TempDir() + "varnel_record_" + std::to_string(getpid());
    setEnvironmentVariable("VARNEL_SIM_RECORD", path.c_str());
    startSimulatedSession();
    wakeSimulatedUnit();
    kelvo.workingImage = SettingsImage{};
    kelvo.workingImage.raw()[60] = 77;
    kelvo.write(false);

    simReset();
    EXPECT_EQ(unitRecord()[60], 77);
    setEnvironmentVariable("VARNEL_SIM_RECORD", nullptr);
    std::remove(path.c_str());
    simReset();
    EXPECT_NE(unitRecord()[60], 77);
}

struct FaultCase {
    const char* name;
    SimFault fault;
    int argument;
    const char* outcome;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class UnitFault : public SimulatedUnit, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(UnitFault, ReadRaisesTheMatchingError) {
    wakeSimulatedUnit();
    kelvo.receivedImage.raw()[40] = 0x99;
    const SettingsImage before = kelvo.receivedImage;
    simSetFault(GetParam().fault, GetParam().argument);

    EXPECT_EQ(outcomeOf([&] { kelvo.read(true); }), GetParam().outcome);
    if (GetParam().fault == SIM_FAULT_FOREIGN_MODEL) {
        EXPECT_EQ(kelvo.receivedImage.modelCode(), 0x8C);
    } else {
        EXPECT_EQ(kelvo.receivedImage, before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnitFault,
    ::testing::Values(FaultCase{"Purge", SIM_FAULT_PURGE, 0, "ConnectionError"},
                      FaultCase{"Write", SIM_FAULT_WRITE, 0, "WriteError"},
                      FaultCase{"Read", SIM_FAULT_READ, 0, "ReadError"},
                      FaultCase{"NoReply", SIM_FAULT_NO_REPLY, 0, "ReadError"},
                      FaultCase{"WrongMarker", SIM_FAULT_WRONG_MARKER, 0, "ProtocolError"},
                      FaultCase{"BadChecksum", SIM_FAULT_BAD_CHECKSUM, 0, "ProtocolError"},
                      FaultCase{"ForeignModel", SIM_FAULT_FOREIGN_MODEL, 0, "CompatibilityError"},
                      FaultCase{"ShortReply", SIM_FAULT_SHORT_REPLY, 60, "ReadError"},
                      FaultCase{"ShortEcho", SIM_FAULT_SHORT_REPLY, 10, "ReadError"},
                      FaultCase{"Unplugged", SIM_FAULT_UNPLUGGED_AFTER, 0, "ConnectionError"},
                      FaultCase{"UnpluggedAfterPurge", SIM_FAULT_UNPLUGGED_AFTER, 1, "WriteError"}),
    [](const auto& info) { return std::string(info.param.name); });

struct OpenFaultCase {
    const char* name;
    SimFault fault;
    int argument;
    int leftOpen;
};

void PrintTo(const OpenFaultCase& c, std::ostream* os) {
    *os << c.name;
}

class AdapterOpenFault : public SimulatedUnit,
                         public ::testing::WithParamInterface<OpenFaultCase> {};

TEST_P(AdapterOpenFault, RaisesOpenError) {
    d2xxAdapter().close();
    simSetFault(GetParam().fault, GetParam().argument);
    EXPECT_EQ(outcomeOf([] { d2xxAdapter().open(); }), "OpenError");
    SimLineSettings line{};
    simGetLineSettings(&line);
    EXPECT_EQ(line.open, GetParam().leftOpen) << "a device opened before the failure stays open";
}

INSTANTIATE_TEST_SUITE_P(Faults, AdapterOpenFault,
                         ::testing::Values(OpenFaultCase{"NoAdapter", SIM_FAULT_NO_ADAPTER, 0, 0},
                                           OpenFaultCase{"ListDevices", SIM_FAULT_OPEN_STEP, 1, 0},
                                           OpenFaultCase{"Open", SIM_FAULT_OPEN_STEP, 2, 0},
                                           OpenFaultCase{"BaudRate", SIM_FAULT_OPEN_STEP, 3, 1},
                                           OpenFaultCase{"Timeouts", SIM_FAULT_OPEN_STEP, 4, 1},
                                           OpenFaultCase{"DataCharacteristics", SIM_FAULT_OPEN_STEP,
                                                         5, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
