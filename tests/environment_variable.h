#pragma once

#include <cstdlib>

// Sets or, with nullptr, removes an environment variable of this process.
inline void setEnvironmentVariable(const char* name, const char* value) {
#ifdef _WIN32
    // An empty value removes the variable there.
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
#endif
}
