// Export marker for the VeskDll shared library: it is built with hidden visibility,
// so only what carries VESKDLL_API is visible to the program.
#pragma once

#if defined(VESKDLL_BUILD)
#define VESKDLL_API __attribute__((visibility("default")))
#else
#define VESKDLL_API
#endif
