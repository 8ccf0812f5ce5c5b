#include "sim/unit_model.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {

constexpr std::uint8_t preambleByte = 0x55;
constexpr std::uint8_t requestStart = 0x9F;
constexpr std::uint8_t servoStart = 0x0F;
constexpr std::uint8_t replyMarker = 0xA1;
constexpr std::uint8_t foreignModelDefault = 0x8C;

constexpr std::uint16_t unitId = 0x2A17;

// Factory values of record bytes 4 to 83.
constexpr auto factorySettings = std::to_array<std::uint8_t>({
    0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,
    0x0E, 0x0F, 0x10, 0x11, 0x1E, 0x00, 0xC0, 0x0D, 0x40, 0x18, 0x00, 0x00, 0xD0, 0x07, 0xDC, 0x05,
    0xE8, 0x03, 0x40, 0x18, 0x00, 0x13, 0xC0, 0x0D, 0x00, 0x13, 0x20, 0x03, 0x26, 0x02, 0x02, 0x00,
    0xF0, 0x00, 0x1E, 0x0A, 0x02, 0x32, 0x5A, 0x0A, 0x28, 0x1E, 0x00, 0x18, 0x04, 0x0A, 0x32, 0x64,
    0x01, 0x3C, 0x00, 0x0A, 0x3C, 0x08, 0x0A, 0x8E, 0x05, 0x00, 0x00, 0x68, 0xB1, 0x14, 0x1E, 0x00,
});
static_assert(factorySettings.size() == 80);

// Request flag bits as the program builds them.
constexpr std::uint8_t requestBit = 0x01;
constexpr std::uint8_t flagArgumentBit = 0x02;
constexpr std::uint8_t readRequestBit = 0x04;
constexpr std::uint8_t blockFrameBit = 0x08;
constexpr std::uint8_t servoOnBit = 0x10;
constexpr std::uint8_t commandBits = 0x1F;

constexpr std::size_t settingsFirst = 6;
constexpr std::size_t settingsLast = 83;

std::uint8_t mirrored(std::uint8_t byte) {
    std::uint8_t result = 0;
    for (int n = 0; n < 8; ++n) {
        result = static_cast<std::uint8_t>((result << 1) | ((byte >> n) & 1U));
    }
    return result;
}

void placeBalancingWord(Record& record) {
    const std::uint16_t word = balancingWord(record);
    record[4] = static_cast<std::uint8_t>(word >> 8);
    record[5] = static_cast<std::uint8_t>(word);
}

} // namespace

Record factoryRecord() {
    Record record{};
    record[1] = 0x8D;
    record[2] = static_cast<std::uint8_t>(unitId >> 8);
    record[3] = static_cast<std::uint8_t>(unitId);
    std::copy(factorySettings.begin(), factorySettings.end(), record.begin() + 4);
    placeBalancingWord(record);
    return record;
}

std::uint16_t balancingWord(const Record& record) {
    std::uint16_t sum = 0;
    for (std::size_t i = settingsFirst; i < settingsLast; i += 2) {
        sum = static_cast<std::uint16_t>(sum + (record[i] << 8) + record[i + 1]);
    }
    return static_cast<std::uint16_t>(-sum);
}

void UnitModel::powerOn(const Record& record) {
    setRecord(record);
    writing = false;
    preambleRun = 0;
    awake = false;
    servoMode = false;
    frame.clear();
    frameLength = 0;
    servoLog.clear();
}

void UnitModel::setFault(int newFault, int argument) {
    fault = newFault;
    faultArgument = argument;
}

void UnitModel::setRecord(const Record& record) {
    stored = record;
    // The unit keeps neither the reserved byte nor the last one, and its checksum slot
    // always balances what it holds.
    stored[0] = 0;
    stored[84] = 0;
    placeBalancingWord(stored);
}

void UnitModel::receive(std::uint8_t byte, std::int64_t nowNs, std::vector<std::uint8_t>& answer) {
    // Until an unbroken run of the wake-up byte has passed, the unit takes commands but
    // answers no read request; once awake it stays awake until power-off.
    if (!awake) {
        preambleRun = byte == preambleByte ? preambleRun + 1 : 0;
        awake = preambleRun >= preambleLength;
    }
    if (frameLength == 0) {
        if (byte == requestStart) {
            frameLength = requestSize;
        } else if (servoMode && byte == servoStart) {
            frameLength = servoFrameSize;
        } else {
            return;
        }
    }
    frame.push_back(byte);
    if (frame.size() < frameLength) {
        return;
    }
    if (frameLength == requestSize) {
        handleRequest(answer);
    } else {
        handleServoFrame(nowNs);
    }
    frame.clear();
    frameLength = 0;
}

void UnitModel::handleRequest(std::vector<std::uint8_t>& answer) {
    std::array<std::uint8_t, requestSize> built{};
    built[0] = frame[0];
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i < requestSize; ++i) {
        built[i] = mirrored(frame[i]);
        sum = static_cast<std::uint8_t>(sum + built[i]);
    }
    if (sum != 0) {
        return;
    }
    // Bit 3 of a read request and of a servo-drive frame is whatever the previous frame
    // left there, so those two are told apart from the block frame by bits 2 and 4. A
    // servo-drive off frame then looks just like the frame of block 0: the unit leaves
    // servo-drive mode on either and takes a block frame as one, so the first block of
    // a write that follows the servo frames is not lost. A stray block 0 does no harm:
    // only the end-of-write frame commits the pending record.
    const std::uint8_t flags = built[15] & commandBits;
    const bool isRequest = (flags & requestBit) != 0;
    const bool readBit = (flags & readRequestBit) != 0;
    const bool servoBit = (flags & servoOnBit) != 0;
    if (flags == 0) {
        commit();
    } else if (!isRequest) {
        return;
    } else if (servoBit) {
        if (!readBit && (flags & flagArgumentBit) == 0) {
            servoMode = true;
        }
    } else if (readBit) {
        reply(answer);
    } else {
        if ((flags & flagArgumentBit) == 0) {
            servoMode = false;
        }
        if ((flags & blockFrameBit) != 0) {
            storeBlock(built);
        }
    }
}

void UnitModel::reply(std::vector<std::uint8_t>& answer) const {
    if (!awake || fault == SIM_FAULT_NO_REPLY) {
        return;
    }
    std::uint8_t model = stored[1];
    if (fault == SIM_FAULT_FOREIGN_MODEL) {
        model = faultArgument != 0 ? static_cast<std::uint8_t>(faultArgument) : foreignModelDefault;
    }
    std::uint16_t word = balancingWord(stored);
    if (fault == SIM_FAULT_BAD_CHECKSUM) {
        ++word;
    }
    answer.push_back(fault == SIM_FAULT_WRONG_MARKER ? replyMarker ^ 0xFF : replyMarker);
    answer.push_back(model);
    answer.push_back(stored[2]);
    answer.push_back(stored[3]);
    answer.push_back(static_cast<std::uint8_t>(word >> 8));
    answer.push_back(static_cast<std::uint8_t>(word));
    answer.insert(answer.end(), stored.begin() + settingsFirst, stored.begin() + settingsLast + 1);
}

void UnitModel::storeBlock(const std::array<std::uint8_t, requestSize>& built) {
    const std::size_t k = built[5];
    if (k >= 9) {
        return;
    }
    if (!writing) {
        pending = stored;
        writing = true;
    }
    std::copy(built.begin() + 6, built.begin() + 15, pending.begin() + 4 + 9 * k);
}

void UnitModel::commit() {
    if (!writing) {
        return;
    }
    writing = false;
    // Only the settings are the program's to change; the header is the unit's own.
    Record next = stored;
    std::copy(pending.begin() + settingsFirst, pending.begin() + settingsLast + 1,
              next.begin() + settingsFirst);
    if (fault == SIM_FAULT_STORE_DIFFERENTLY) {
        const auto offset = faultArgument >= static_cast<int>(settingsFirst) &&
                                    faultArgument <= static_cast<int>(settingsLast)
                                ? static_cast<std::size_t>(faultArgument)
                                : settingsFirst;
        ++next[offset];
    }
    setRecord(next);
    ++commitCount;
}

void UnitModel::handleServoFrame(std::int64_t nowNs) {
    // A frame without its end byte is out of step with the line and carries nothing.
    if (frame[servoFrameSize - 1] != 0x00) {
        return;
    }
    SimServoFrame decoded{};
    for (std::size_t c = 0; c < 16; ++c) {
        std::uint16_t value = 0;
        for (std::size_t j = 0; j < 11; ++j) {
            const std::size_t p = 11 * c + j;
            value = static_cast<std::uint16_t>(value | (((frame[1 + p / 8] >> (p % 8)) & 1U) << j));
        }
        decoded.channels[c] = value;
    }
    decoded.arrivalNs = nowNs;
    if (servoLog.size() == servoLogCapacity) {
        servoLog.pop_front();
    }
    servoLog.push_back(decoded);
}

} // namespace sim
