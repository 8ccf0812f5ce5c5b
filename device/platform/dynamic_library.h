#pragma once

// The platform's dynamic loader, kept in one place, one file per platform.
void* openDynamicLibrary(const char* name);
void* findLibrarySymbol(void* module, const char* name);
// The file name under which the platform's loader finds the vendor's D2XX library.
const char* d2xxLibraryName();
