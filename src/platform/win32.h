// The one header library code includes for anything from Windows.
// On Windows it is the real system headers; elsewhere it declares the subset of
// Win32 that the library calls, implemented in src/platform/*.cpp.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <shlwapi.h>
#include <stdlib.h>
#include <urlmon.h>
#include <windows.h>
#include <wininet.h>
#else
#include "platform/gdi/win32_gdi.h"
#include "platform/kernel/win32_kernel.h"
#include "platform/net/win32_net.h"
#include "platform/win32_types.h"
#include "platform/window/win32_window.h"
#endif
