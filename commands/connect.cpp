#include "commands/connect.h"

#include "commands/outcome.h"
#include "device/com_device.h"
#include "device/d2xx/d2xx_port.h"
#include "resources/string_table.h"

#ifdef VARNEL_SERIAL_PORT
#include "device/serial/serial_port.h"
#endif

namespace {

constexpr const char* d2xxName = "D2XX";

Connection failure(int message, std::string device = {}) {
    Connection connection;
    connection.message = message;
    connection.device = std::move(device);
    return connection;
}

// The tty's own failures: a tty that exists but refuses this user or is held by
// another program gets a message that says so, any other failure `otherwise`.
Connection openTty(const std::string& path, int otherwise) {
#ifdef VARNEL_SERIAL_PORT
    auto port = std::make_unique<SerialPort>(path);
    try {
        port->open();
    } catch (const ComDevice::AccessDeniedError&) {
        return failure(msg::portNoPermission, path);
    } catch (const ComDevice::BusyError&) {
        return failure(msg::portBusy, path);
    } catch (const ComDevice::ConnectionError&) {
        return failure(otherwise, path);
    }
    Connection connection;
    connection.port = std::move(port);
    connection.name = path;
    return connection;
#else
    return failure(otherwise, path);
#endif
}

} // namespace

Connection connectAdapter(const PortChoice& choice) {
    if (!choice.device.empty()) {
        return openTty(choice.device, msg::adapterMissing);
    }

    int d2xxMessage = msg::adapterMissing;
    try {
        auto port =
            makeD2xxPort(choice.driverLibrary.empty() ? nullptr : choice.driverLibrary.c_str(),
                         choice.d2xxIndex);
        port->open();
        Connection connection;
        connection.port = std::move(port);
        connection.name = d2xxName;
        return connection;
    } catch (const ComDevice::InitializeError&) {
        d2xxMessage = msg::driverMissing;
    } catch (const ComDevice::ConnectionError&) {
        d2xxMessage = msg::adapterMissing;
    }

    if (!choice.serialFallback) {
        return failure(d2xxMessage);
    }
    // The kernel's driver holds the adapter whenever the library cannot reach it.
    for (const SerialPortInfo& candidate : listSerialPorts(choice.roots)) {
        if (candidate.vendor == ftdiVendor) {
            return openTty(candidate.path, msg::adapterMissing);
        }
    }
    return failure(msg::adapterMissing);
}

std::string portLabel(const Connection& connection) {
    return "QB-7: " + connection.name;
}
