#pragma once

// The platform's dynamic loader, kept in one place.
void* openDynamicLibrary(const char* name);
void* findLibrarySymbol(void* module, const char* name);
