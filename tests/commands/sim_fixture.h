#pragma once

// A whole conversation with the simulated adapter and unit through the real binding.

#include "device/adapter.h"
#include "device/com_device.h"
#include "device/sleep.h"
#include "sim/sim_control.h"
#include "sim/sim_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

class SimulatedUnitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(chooseSimulatedAdapter(VARNEL_SIM_PATH)); }

    void SetUp() override { startSimulatedSession(); }

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
