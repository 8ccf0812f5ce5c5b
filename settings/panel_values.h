#pragma once

#include <array>
#include <cstdint>

// The dialog's values, one per bound control. Radio fields hold the position of the
// checked button in its group, combo fields the selected item index; either is -1 when
// nothing is selected. Every field is 0 until the first exchange.
struct PanelValues {
    std::uint32_t unitId = 0;
    int notUsingId = 0; // no control exchanges it; stays 0
    std::array<int, 8> channelMap{};
    int killSwitchChannel = 0;
    int rpmChannel = 0;
    int governorSwitchChannel = 0;
    int governorEnabled = 0; // 0 "有効", 1 "無効"
    int governorSwitch = 0;  // 0 "無効", 1 "有効"
    int servoType = 0;       // 0 digital, 1 analogue
    int controlResponse = 0; // 0 Moderate, 1 Middle, 2 Quick, 3 Silent
    std::array<int, 3> targetRpm{};
    double gearRatio = 0.0; // always a whole number of hundredths
    int poleNumber = 0;
    int stickSwitch = 0;
    int governorGain = 0;
    int lowLimitHover = 0;
    int lowLimitIdleUp = 0;
    int workingMode = 0;      // 0 rev-limit mode, 1 governor mode
    int rpmDisplayMode = 0;   // 0 main rotor, 1 engine
    int throttleDataMode = 0; // 0 Optimize, 1 Fixed, 2 Tx.Curve
    int feedForwardCyclic = 0;
    int rpmUpDelay = 0;
    int rpmDownDelay = 0;
    int startDelay = 0;
    int governorOnRpm = 0;
    int telemetry = 0; // 0 ACT, 1 INH
    int canComm = 0;   // 0 ACT, 1 INH
    int busMode = 0;   // 0 S.BUS2, 1 RS485
    int limitPoint1 = 0;
    int limitPoint2 = 0;
    int servoPosition = 0;

    bool operator==(const PanelValues&) const = default;
};
