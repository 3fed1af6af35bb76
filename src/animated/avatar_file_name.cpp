#include "animated/avatar_file_name.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "parts/download_temp_name.h"

namespace {

struct Letter {
    int choice;
    char letter;
};

constexpr Letter kKinds[] = {{4, 'W'}, {8, 'G'}, {16, 'C'}};
constexpr Letter kSizes[] = {{32, 'F'}, {64, 'H'}};
constexpr Letter kVariants[] = {{128, 'A'}, {256, 'S'}};
constexpr Letter kBitmapKinds[] = {{512, 'B'}, {1024, 'S'}};

template <size_t N>
char LetterOf(const Letter (&table)[N], int choice) {
    for (const Letter& entry : table) {
        if (entry.choice == choice) {
            return entry.letter;
        }
    }
    return '\0';
}

template <size_t N>
bool IsLetterOf(const Letter (&table)[N], char c) {
    for (const Letter& entry : table) {
        if (std::toupper(static_cast<unsigned char>(c)) == entry.letter) {
            return true;
        }
    }
    return false;
}

bool SameLetter(char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
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

int BuildAvatarFileName(char* dst, size_t capacity, const char* id, int format, int kind, int size,
                        int variant) {
    if (dst == nullptr || capacity == 0) {
        return 0;
    }
    dst[0] = '\0';
    if (id == nullptr) {
        return 0;
    }
    int length = -1;
    if (format == kAvatarNameGif) {
        const char letters[] = {LetterOf(kKinds, kind), LetterOf(kSizes, size),
                                LetterOf(kVariants, variant)};
        if (letters[0] != '\0' && letters[1] != '\0' && letters[2] != '\0') {
            length = std::snprintf(dst, capacity, "A%c%c%c_%s.GIF", letters[0], letters[1],
                                   letters[2], id);
        }
    } else if (format == kAvatarNameBmp && LetterOf(kBitmapKinds, kind) != '\0') {
        length = std::snprintf(dst, capacity, "B%c_%s.BMP", LetterOf(kBitmapKinds, kind), id);
    }
    if (length < 0 || static_cast<size_t>(length) >= capacity) {
        dst[0] = '\0';
        return 0;
    }
    return 1;
}

bool IsAnimatedCacheFile(const char* name) {
    return IsAnimatedAvatarFileName(name) || IsDownloadTemporaryName(name);
}

bool IsAnimatedAvatarFileName(const char* name) {
    if (name == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    // "AWFA_" + ".GIF", or "BB_" + ".BMP", at the least.
    if (length >= 9 && SameLetter(name[0], 'A') && IsLetterOf(kKinds, name[1]) &&
        IsLetterOf(kSizes, name[2]) && IsLetterOf(kVariants, name[3]) && name[4] == '_') {
        return EndsWith(name, length, ".GIF");
    }
    if (length >= 7 && SameLetter(name[0], 'B') && IsLetterOf(kBitmapKinds, name[1]) &&
        name[2] == '_') {
        return EndsWith(name, length, ".BMP");
    }
    return false;
}
