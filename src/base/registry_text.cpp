#include "base/registry_text.h"

bool ReadRegistryText(HKEY key, const char* name, char* buffer, DWORD capacity) {
    DWORD type = REG_SZ;
    DWORD size = capacity;
    if (capacity == 0 ||
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS) {
        return false;
    }
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > capacity) {
        return false;
    }
    if (size > 0 && buffer[size - 1] == '\0') {
        return true;
    }
    if (size == capacity) {
        return false;
    }
    buffer[size] = '\0';
    return true;
}
