#include "commands/unit_commands.h"

#include "commands/outcome.h"
#include "device/com_device.h"
#include "device/kelvo.h"
#include "resources/string_table.h"

#include <array>
#include <chrono>
#include <exception>

using namespace std::chrono_literals;

namespace {

constexpr std::size_t preambleSize = 1000;
constexpr std::uint8_t preambleByte = 0x55;
constexpr auto wakeUpPause = 1500ms;
constexpr auto readBackPause = 500ms;

enum class Failure { Open, Read, Write, Connection, Compatibility };

// Most specific first: the port's errors share one base class, and a foreign model
// is a kind of failed read with a message of its own.
Failure classify(const std::exception_ptr& raised) {
    try {
        std::rethrow_exception(raised);
    } catch (const ComDevice::OpenError&) {
        return Failure::Open;
    } catch (const CompatibilityError&) {
        return Failure::Compatibility;
    } catch (const ComDevice::ReadError&) {
        return Failure::Read;
    } catch (const ComDevice::WriteError&) {
        return Failure::Write;
    } catch (...) {
        // Any other connection error, and whatever else the adapter might raise: it is
        // not working as it should, and the command must still end with a message.
        return Failure::Connection;
    }
}

// A failed frame write and a failed read both get the command's own transfer error:
// the Read command has no message for writes, and the Write command reports a failed
// read-back as a write error.
int messageFor(Failure failure, int transferError) {
    switch (failure) {
    case Failure::Open:
        return msg::adapterMissing;
    case Failure::Read:
    case Failure::Write:
        return transferError;
    case Failure::Compatibility:
        return msg::foreignModel;
    case Failure::Connection:
        break;
    }
    return msg::adapterFault;
}

UnitCommandResult resultOf(int failure, int successMessage) {
    if (failure != noMessage) {
        return {false, failure};
    }
    return {true, successMessage};
}

} // namespace

int runMapped(bool readCommand, const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        return messageFor(classify(std::current_exception()),
                          readCommand ? msg::readError : msg::writeError);
    }
    return noMessage;
}

UnitCommandResult readFromUnit(Kelvo& kelvo, ComDevice& port, const SleepFunction& sleep) {
    const int failure = runMapped(true, [&] {
        std::array<std::uint8_t, preambleSize> preamble;
        preamble.fill(preambleByte);
        port.write(preamble.data(), preambleSize);
        sleep(wakeUpPause);
        kelvo.read(true);
        kelvo.workingImage = kelvo.receivedImage;
    });
    return resultOf(failure, msg::connected);
}

UnitCommandResult writeToUnit(Kelvo& kelvo, bool notUsingId, const SleepFunction& sleep) {
    const int failure = runMapped(false, [&] {
        kelvo.write(false);
        sleep(readBackPause);
        kelvo.read(!notUsingId);
        if (!kelvo.receivedImage.sameSettings(kelvo.workingImage)) {
            throw ComDevice::WriteError{};
        }
    });
    return resultOf(failure, msg::written);
}
