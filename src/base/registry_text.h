// Reading a text value of the registry as the library's callers expect it.
#pragma once

#include "platform/win32.h"

// Reads the REG_SZ or REG_EXPAND_SZ value `name` of an open key into buffer
// (capacity bytes, environment references left as written). A value stored
// without its terminator is terminated when it leaves room for one. False for a
// missing value, another type, or text that does not fit; buffer is then
// unspecified.
bool ReadRegistryText(HKEY key, const char* name, char* buffer, DWORD capacity);
