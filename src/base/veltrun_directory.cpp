#include "base/veltrun_directory.h"

#include <cstdio>

#include "platform/win32.h"

namespace {

constexpr DWORD kHomeBufferBytes = 260;

}  // namespace

int GetVeltrunDirectory(char* buffer) {
    char keyPath[261];
    std::snprintf(keyPath, sizeof keyPath, "%s\\%s", "Software\\Veltrun.Com", "KOREAN");
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD type = REG_SZ;
    DWORD size = kHomeBufferBytes;
    const LONG result =
        RegQueryValueExA(key, "Home", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    // A value stored without its terminator, or not as a string, is no path.
    const bool readable = result == ERROR_SUCCESS && type == REG_SZ && size > 0 &&
                          size <= kHomeBufferBytes && buffer[size - 1] == '\0';
    if (!readable) {
        buffer[0] = '\0';
    }
    RegCloseKey(key);
    return 1;
}
