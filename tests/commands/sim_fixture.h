#pragma once

// A whole conversation with the simulated adapter and unit through the real binding.

#include "device/zabro.h"
#include "sim/sim_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

class SimulatedUnitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(theAdapter.driver.load(VARNEL_SIM_PATH)); }

    void SetUp() override {
        simReset();
        theAdapter.close();
        theAdapter.open();
    }

    // Records the pauses instead of spending them.
    std::vector<std::chrono::milliseconds> pauses;
    SleepFunction recordPause() {
        return [this](std::chrono::milliseconds pause) { pauses.push_back(pause); };
    }

    static std::vector<std::uint8_t> unitRecord() {
        std::vector<std::uint8_t> record(85);
        simGetRecord(record.data());
        return record;
    }

    static std::vector<std::uint8_t> writtenBytes() {
        std::vector<std::uint8_t> bytes(simWrittenByteCount());
        bytes.resize(simGetWrittenBytes(bytes.data(), bytes.size()));
        return bytes;
    }
};
