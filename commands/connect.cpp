#include "commands/connect.h"

#include "commands/outcome.h"
#include "device/zabro.h"
#include "resources/string_table.h"

int connectAdapter(Zabro& adapter, const char* library) {
    try {
        if (!adapter.driver.load(library)) {
            throw Zabro::InitializeError{};
        }
        adapter.open();
    } catch (const Zabro::InitializeError&) {
        return msg::driverMissing;
    } catch (const Zabro::ConnectionError&) {
        return msg::adapterMissing;
    }
    return noMessage;
}
