// The Windows API as gui/, editor/ and the CLI's window code call it. On
// Windows this is the real API; elsewhere our own software implementation of
// exactly the subset the system uses.
#pragma once

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "platform/win32_subset.h"
#endif
