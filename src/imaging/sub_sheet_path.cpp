#include <cctype>
#include <cstdio>

#include "imaging/avatar_layer.h"

int MakeSubSheetPath(const char* path, int number, char* out) {
    constexpr size_t kOutBytes = 260;
    constexpr size_t kPartBytes = 256;
    out[0] = '\0';
    if (number < 0 || number > 999 || path == nullptr) {
        return 0;
    }
    char folder[kOutBytes];
    char title[kPartBytes];
    char extension[kPartBytes];
    if (_splitpath_s(path, nullptr, 0, folder, sizeof folder, title, sizeof title, extension,
                     sizeof extension) != 0) {
        return 0;
    }
    // The drive is never taken, also where the runtime leaves it in the folder.
    const bool hasDrive = std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':';
    const int length = std::snprintf(out, kOutBytes, "%s%s%04d%s", folder + (hasDrive ? 2 : 0),
                                     title, number, extension);
    if (length < 0 || static_cast<size_t>(length) >= kOutBytes) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}
