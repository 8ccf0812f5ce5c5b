#include "device/platform/dynamic_library.h"

#include <dlfcn.h>

void* openDynamicLibrary(const char* name) {
    // RTLD_LOCAL: the adapter library's symbols must not leak into the process and
    // shadow anything else that happens to carry the same names.
    return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

void* findLibrarySymbol(void* module, const char* name) {
    return dlsym(module, name);
}

const char* d2xxLibraryName() {
    return "libftd2xx.so";
}
