#include "commands/unit_commands.h"

#include "commands/outcome.h"
#include "device/kelvo.h"
#include "device/zabro.h"
#include "resources/string_table.h"

#include <array>
#include <chrono>

using namespace std::chrono_literals;

namespace {

constexpr std::size_t preambleSize = 1000;
constexpr std::uint8_t preambleByte = 0x55;
constexpr auto wakeUpPause = 1500ms;
constexpr auto readBackPause = 500ms;

// The Read command reports a failed frame write as a read error and has no message
// of its own for writes; the Write command reports a failed read-back as a write error.
// A foreign model code ranks first for the Write command because the blocks have
// already gone out by then.
int mapReadCommand(const std::function<void()>& step) {
    try {
        step();
    } catch (const Zabro::OpenError&) {
        return msg::adapterMissing;
    } catch (const Zabro::ReadError&) {
        return msg::readError;
    } catch (const Zabro::WriteError&) {
        return msg::readError;
    } catch (const Zabro::ConnectionError&) {
        return msg::adapterFault;
    } catch (const CompatibilityError&) {
        return msg::foreignModel;
    } catch (...) {
        // Nothing else is expected from the adapter; whatever it is, the adapter is
        // not working as it should, and the command must end with a message.
        return msg::adapterFault;
    }
    return noMessage;
}

int mapWriteCommand(const std::function<void()>& step) {
    try {
        step();
    } catch (const CompatibilityError&) {
        return msg::foreignModel;
    } catch (const Zabro::OpenError&) {
        return msg::adapterMissing;
    } catch (const Zabro::ReadError&) {
        return msg::writeError;
    } catch (const Zabro::WriteError&) {
        return msg::writeError;
    } catch (const Zabro::ConnectionError&) {
        return msg::adapterFault;
    } catch (...) {
        return msg::adapterFault;
    }
    return noMessage;
}

UnitCommandResult resultOf(int failure, int successMessage) {
    if (failure != noMessage) {
        return {false, failure};
    }
    return {true, successMessage};
}

} // namespace

int runMapped(bool readCommand, const std::function<void()>& step) {
    return readCommand ? mapReadCommand(step) : mapWriteCommand(step);
}

UnitCommandResult readFromUnit(Kelvo& kelvo, ComDevice& port, const SleepFunction& sleep) {
    const int failure = mapReadCommand([&] {
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
    const int failure = mapWriteCommand([&] {
        kelvo.write(false);
        sleep(readBackPause);
        kelvo.read(!notUsingId);
        if (!kelvo.receivedImage.sameSettings(kelvo.workingImage)) {
            throw Zabro::WriteError{};
        }
    });
    return resultOf(failure, msg::written);
}
