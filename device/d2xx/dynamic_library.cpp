#include "dynamic_library.h"

#ifdef _WIN32
#include "device/platform/wide_text.h"

#include <windows.h>

void* openDynamicLibrary(const char* name) {
    // The loader wants a wide name; paths given at start-up arrive as UTF-8.
    const std::wstring wide = widen(name);
    if (wide.empty()) {
        return nullptr;
    }
    return reinterpret_cast<void*>(LoadLibraryW(wide.c_str()));
}

void* findLibrarySymbol(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

#else
#include <dlfcn.h>

void* openDynamicLibrary(const char* name) {
    // RTLD_LOCAL: the adapter library's symbols must not leak into the process and
    // shadow anything else that happens to carry the same names.
    return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

void* findLibrarySymbol(void* module, const char* name) {
    return dlsym(module, name);
}

#endif
