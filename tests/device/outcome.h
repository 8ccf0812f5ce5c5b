#pragma once

#include "device/kelvo.h"
#include "device/zabro.h"

#include <string>
#include <typeinfo>

// Names the exception an operation raised, most specific class first, so that a
// table can say which one it expects and "ConnectionError" means the base itself.
template <class Operation> std::string outcomeOf(Operation&& operation) {
    try {
        operation();
        return "ok";
    } catch (const Zabro::OpenError&) {
        return "OpenError";
    } catch (const Zabro::ReadError&) {
        return "ReadError";
    } catch (const Zabro::WriteError&) {
        return "WriteError";
    } catch (const Zabro::InitializeError&) {
        return "InitializeError";
    } catch (const Zabro::ConnectionError&) {
        return "ConnectionError";
    } catch (const CompatibilityError&) {
        return "CompatibilityError";
    } catch (const std::bad_cast&) {
        return "bad_cast";
    }
}
