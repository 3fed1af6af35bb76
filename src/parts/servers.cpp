#include "parts/servers.h"

#include <cstdlib>
#include <cstring>

#include "base/registry_text.h"

const char kDefaultPartServer[] = "avgif.veltrun.com";
const char kDefaultAvatarServer[] = "avatar.veltrun.com";

namespace {

const char kPortalKey[] = "Software\\Veltrun.Com\\KOREAN";
// Host names are at most 253 characters; a port adds six.
constexpr DWORD kMaxHostValue = 260;

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

// "host" or "host:port" with nothing that could change the rest of a URL.
bool IsValidServer(const char* text) {
    const char* p = text;
    while (IsHostCharacter(*p)) {
        ++p;
    }
    if (p == text) {
        return false;
    }
    if (*p == '\0') {
        return true;
    }
    if (*p != ':') {
        return false;
    }
    const char* digits = ++p;
    while (*p >= '0' && *p <= '9') {
        ++p;
    }
    if (*p != '\0' || p == digits || p - digits > 5) {
        return false;
    }
    const long port = std::strtol(digits, nullptr, 10);
    return port >= 1 && port <= 65535;
}

std::string ConfiguredServer(const char* valueName, const char* fallback) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPortalKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return fallback;
    }
    char value[kMaxHostValue + 1];
    const bool read = ReadRegistryText(key, valueName, value, sizeof value);
    RegCloseKey(key);
    if (!read || !IsValidServer(value)) {
        return fallback;
    }
    return value;
}

}  // namespace

std::string PartServerHost() {
    return ConfiguredServer("PartServer", kDefaultPartServer);
}

std::string AvatarServerHost() {
    return ConfiguredServer("AvatarServer", kDefaultAvatarServer);
}
