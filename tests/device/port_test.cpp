#include "device/d2xx/zabro.h"
#include "device/platform/dynamic_library.h"
#include "fake_d2xx.h"
#include "outcome.h"
#include "sim/sim_control.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>

namespace {

class PortTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake = FakeD2xx{};
        port.driver = fakeDriverTable();
    }

    Zabro port;
};

const std::vector<std::string> openSteps = {
    "FT_ListDevices(0,buffer,1073741826)", // index 0, FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION
    "FT_Open(0)",
    "FT_SetBaudRate(@,100000)",
    "FT_SetTimeouts(@,5000,5000)",
    "FT_SetDataCharacteristics(@,8,2,2)",
};

TEST_F(PortTest, OpenMakesExactlyTheFiveSteps) {
    port.open();
    EXPECT_EQ(fake.calls, openSteps);
    EXPECT_EQ(port.handle, FakeD2xx::handle());
}

// Each step failing, by status or by a missing entry: OpenError at once, no later step,
// and a device already opened stays open.
class OpenStepFailure : public PortTest,
                        public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(OpenStepFailure, RaisesOpenErrorAndStops) {
    const auto [step, missing] = GetParam();
    const std::string entry = openSteps[step].substr(0, openSteps[step].find('('));
    std::vector<std::string> expected(openSteps.begin(), openSteps.begin() + step);
    if (missing) {
        switch (step) {
        case 0:
            port.driver.FT_ListDevices = nullptr;
            break;
        case 1:
            port.driver.FT_Open = nullptr;
            break;
        case 2:
            port.driver.FT_SetBaudRate = nullptr;
            break;
        case 3:
            port.driver.FT_SetTimeouts = nullptr;
            break;
        default:
            port.driver.FT_SetDataCharacteristics = nullptr;
            break;
        }
    } else {
        fake.failing = entry;
        expected.push_back(openSteps[step]);
    }

    EXPECT_EQ(outcomeOf([&] { port.open(); }), "OpenError");
    EXPECT_EQ(fake.calls, expected);
    EXPECT_EQ(port.handle, step >= 2 ? FakeD2xx::handle() : nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachStep, OpenStepFailure,
                         ::testing::Combine(::testing::Range(0, 5), ::testing::Bool()));

TEST_F(PortTest, ShortReadIsNoErrorAndTellsTheCount) {
    port.handle = FakeD2xx::handle();
    fake.incoming.assign(40, 0x3C);
    std::array<std::uint8_t, 101> buffer;
    buffer.fill(0xEE);

    EXPECT_EQ(port.read(buffer.data(), 101), 40U);
    EXPECT_EQ(buffer[39], 0x3C);
    EXPECT_EQ(buffer[40], 0xEE) << "the rest stays as the caller left it";
}

TEST_F(PortTest, ReadAndWriteFailuresByStatusOrMissingEntry) {
    port.handle = FakeD2xx::handle();
    std::array<std::uint8_t, 4> buffer{};
    const auto read = [&] { port.read(buffer.data(), 4); };
    const auto write = [&] { port.write(buffer.data(), 4); };

    fake.failing = "FT_Read";
    EXPECT_EQ(outcomeOf(read), "ReadError");
    fake.failing = "FT_Write";
    EXPECT_EQ(outcomeOf(write), "WriteError");

    fake.failing.clear();
    port.driver.FT_Read = nullptr;
    port.driver.FT_Write = nullptr;
    EXPECT_EQ(outcomeOf(read), "ReadError");
    EXPECT_EQ(outcomeOf(write), "WriteError");
}

TEST_F(PortTest, WriteCutShortByTheTimeOutIsAFailure) {
    // A frame that only partly left would otherwise count as sent; a servo-drive off
    // cut short would leave the unit driving the servo without anyone noticing.
    port.handle = FakeD2xx::handle();
    port.driver.FT_Write = [](d2xx::FT_HANDLE, void*, d2xx::DWORD count,
                              d2xx::DWORD* written) -> d2xx::FT_STATUS {
        *written = count - 1;
        return d2xx::FT_OK;
    };
    std::array<std::uint8_t, 17> frame{};
    EXPECT_EQ(outcomeOf([&] { port.write(frame.data(), 17); }), "WriteError");
}

TEST_F(PortTest, CloseReleasesTheHandleOnce) {
    port.handle = FakeD2xx::handle();
    port.close();
    port.close();
    EXPECT_EQ(fake.calls, std::vector<std::string>{"FT_Close(@)"});
    EXPECT_EQ(port.handle, nullptr);
}

TEST_F(PortTest, DestroyingAPartlyBoundPortCallsNothing) {
    {
        // As a binding leaves it when it stopped before FT_Close.
        Zabro partly;
        partly.driver.FT_Write = port.driver.FT_Write;
        partly.driver.FT_Read = port.driver.FT_Read;
        partly.handle = FakeD2xx::handle();
    }
    EXPECT_TRUE(fake.calls.empty());
}

// The table's 35 entries and module handle, as raw pointers in field order.
std::array<void*, 36> slotsOf(const DriverTable& table) {
    static_assert(sizeof(DriverTable) == 36 * sizeof(void*));
    std::array<void*, 36> slots{};
    std::memcpy(slots.data(), &table, sizeof table);
    return slots;
}

constexpr std::size_t writeSlot = 5;
constexpr std::size_t libraryVersionSlot = 34;
constexpr std::size_t moduleSlot = 35;

TEST(Binding, MissingLibraryLeavesEverythingNull) {
    DriverTable table;
    EXPECT_FALSE(table.load("/nonexistent/libvarnel_missing.so"));
    for (void* slot : slotsOf(table)) {
        EXPECT_EQ(slot, nullptr);
    }
}

TEST(Binding, LibraryWithoutFtReadStopsAfterFtWrite) {
    DriverTable table;
    EXPECT_FALSE(table.load(VARNEL_SIM_NO_READ_PATH));
    const auto slots = slotsOf(table);
    for (std::size_t i = 0; i < moduleSlot; ++i) {
        EXPECT_EQ(slots[i] != nullptr, i == writeSlot) << "entry " << i;
    }
    EXPECT_NE(slots[moduleSlot], nullptr);
}

TEST(Binding, LibraryWithoutTheLastEntryFails) {
    DriverTable table;
    EXPECT_FALSE(table.load(VARNEL_SIM_NO_LIBVERSION_PATH));
    const auto slots = slotsOf(table);
    for (std::size_t i = 0; i <= moduleSlot; ++i) {
        EXPECT_EQ(slots[i] != nullptr, i != libraryVersionSlot) << "entry " << i;
    }
}

TEST(Binding, SimulatedLibraryBindsEveryEntry) {
    DriverTable table;
    ASSERT_TRUE(table.load(VARNEL_SIM_PATH));
    for (void* slot : slotsOf(table)) {
        EXPECT_NE(slot, nullptr);
    }
    // Loaded by path, the library is the one the tests link: one unit, one state.
    EXPECT_EQ(findLibrarySymbol(table.module, "simReset"), reinterpret_cast<void*>(&simReset));
}

} // namespace
