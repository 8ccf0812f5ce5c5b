#include "settings/settings_image.h"

#include <algorithm>

SettingsImage::SettingsImage() {
    bytes[1] = kelvoModelCode;
}

std::span<std::uint8_t, SettingsImage::blockSize> SettingsImage::block(std::size_t k) {
    return std::span<std::uint8_t, blockSize>(bytes.data() + firstBlockOffset + blockSize * k,
                                              blockSize);
}

std::span<const std::uint8_t, SettingsImage::blockSize> SettingsImage::block(std::size_t k) const {
    return std::span<const std::uint8_t, blockSize>(bytes.data() + firstBlockOffset + blockSize * k,
                                                    blockSize);
}

std::uint16_t SettingsImage::unitId() const {
    return static_cast<std::uint16_t>(bytes[unitIdOffset] << 8 | bytes[unitIdOffset + 1]);
}

void SettingsImage::setUnitId(std::uint16_t id) {
    bytes[unitIdOffset] = static_cast<std::uint8_t>(id >> 8);
    bytes[unitIdOffset + 1] = static_cast<std::uint8_t>(id & 0xFF);
}

std::uint8_t SettingsImage::channelMap(std::size_t output) const {
    return bytes.at(channelMapOffset + output);
}

void SettingsImage::setChannelMap(std::size_t output, std::uint8_t code) {
    bytes.at(channelMapOffset + output) = code;
}

void SettingsImage::setLimitPoint1(int servoUnits) {
    setWord(limitPoint1Offset, static_cast<std::uint16_t>(std::clamp(servoUnits, 0, 0xFFFF)));
}

void SettingsImage::setLimitPoint2(int servoUnits) {
    setWord(limitPoint2Offset, static_cast<std::uint16_t>(std::clamp(servoUnits, 0, 0xFFFF)));
}

std::uint16_t SettingsImage::targetRpm(std::size_t entry) const {
    return word(targetRpmOffset + 2 * entry);
}

void SettingsImage::setTargetRpm(std::size_t entry, std::uint16_t rpm) {
    setWord(targetRpmOffset + 2 * entry, rpm);
}

std::uint8_t SettingsImage::throttleDataMode() const {
    return (bytes[servoFlagsOffset] & throttleDataModeMask) >> 6;
}

void SettingsImage::setThrottleDataMode(std::uint8_t mode) {
    bytes[servoFlagsOffset] = static_cast<std::uint8_t>(
        (bytes[servoFlagsOffset] & ~throttleDataModeMask) | ((mode << 6) & throttleDataModeMask));
}

std::uint8_t SettingsImage::controlResponse() const {
    return bytes[communicationFlagsOffset] & controlResponseMask;
}

void SettingsImage::setControlResponse(std::uint8_t code) {
    bytes[communicationFlagsOffset] = static_cast<std::uint8_t>(
        (bytes[communicationFlagsOffset] & ~controlResponseMask) | (code & controlResponseMask));
}

bool SettingsImage::sameSettings(const SettingsImage& other) const {
    return std::equal(bytes.begin() + verifyFirst, bytes.begin() + verifyLast + 1,
                      other.bytes.begin() + verifyFirst);
}

std::uint16_t SettingsImage::word(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}

void SettingsImage::setWord(std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void SettingsImage::setBit(std::size_t offset, std::uint8_t mask, bool on) {
    bytes[offset] = static_cast<std::uint8_t>(on ? bytes[offset] | mask : bytes[offset] & ~mask);
}
