#pragma once

// How the vendor's D2XX library is called: __stdcall in 32-bit Windows builds of it,
// the platform's own convention everywhere else (64-bit Windows has only one).
#if defined(_WIN32) && !defined(_WIN64)
#define D2XX_API __stdcall
#else
#define D2XX_API
#endif
