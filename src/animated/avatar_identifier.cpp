#include "animated/avatar_identifier.h"

#include <cstring>

bool IsSafeAvatarIdentifier(const char* id) {
    if (id == nullptr) {
        return false;
    }
    const size_t length = strnlen(id, kMaxAvatarIdLength + 1);
    if (length == 0 || length > kMaxAvatarIdLength || std::strstr(id, "..") != nullptr) {
        return false;
    }
    for (const char* p = id; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        // Space, controls and everything above 0x7E are out, and so is DEL.
        if (c <= 0x20 || c >= 0x7F || std::strchr("\\/:%?#*\"<>|", c) != nullptr) {
            return false;
        }
    }
    return true;
}
