#pragma once

#include "device/com_device.h"
#include "device/kelvo.h"

#include <string>

// Names the exception an operation raised, most specific class first, so that a
// table can say which one it expects and "ConnectionError" means the base itself.
template <class Operation> std::string outcomeOf(Operation&& operation) {
    try {
        operation();
        return "ok";
    } catch (const ComDevice::BusyError&) {
        return "BusyError";
    } catch (const ComDevice::AccessDeniedError&) {
        return "AccessDeniedError";
    } catch (const ComDevice::OpenError&) {
        return "OpenError";
    } catch (const CompatibilityError&) {
        return "CompatibilityError";
    } catch (const ProtocolError&) {
        return "ProtocolError";
    } catch (const ComDevice::ReadError&) {
        return "ReadError";
    } catch (const ComDevice::WriteError&) {
        return "WriteError";
    } catch (const ComDevice::InitializeError&) {
        return "InitializeError";
    } catch (const ComDevice::ConnectionError&) {
        return "ConnectionError";
    }
}
