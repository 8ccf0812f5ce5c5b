#include "device/platform/dynamic_library.h"

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

const char* d2xxLibraryName() {
    return "ftd2xx.dll";
}
