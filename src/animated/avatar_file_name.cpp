#include "animated/avatar_file_name.h"

#include <cctype>
#include <cstring>

namespace {

bool SameLetter(char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
}

bool OneOf(char c, const char* letters) {
    for (; *letters != '\0'; ++letters) {
        if (SameLetter(c, *letters)) {
            return true;
        }
    }
    return false;
}

bool EndsWith(const char* name, size_t length, const char* suffix) {
    const size_t n = std::strlen(suffix);
    if (length < n) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        if (!SameLetter(name[length - n + i], suffix[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsAnimatedAvatarFileName(const char* name) {
    if (name == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    // "AWFA_" + ".GIF", or "BB_" + ".BMP", at the least.
    if (length >= 9 && SameLetter(name[0], 'A') && OneOf(name[1], "WGC") && OneOf(name[2], "FH") &&
        OneOf(name[3], "AS") && name[4] == '_') {
        return EndsWith(name, length, ".GIF");
    }
    if (length >= 7 && SameLetter(name[0], 'B') && OneOf(name[1], "BS") && name[2] == '_') {
        return EndsWith(name, length, ".BMP");
    }
    return false;
}
