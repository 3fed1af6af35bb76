#include "base/veltrun_directory.h"

#include <cstdio>

#include "base/registry_text.h"

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
    if (!ReadRegistryText(key, "Home", buffer, kHomeBufferBytes)) {
        buffer[0] = '\0';
    }
    RegCloseKey(key);
    return 1;
}
