#include <cstring>

#include "parts/avtr_dn_job.h"
#include "platform/win32.h"

void MakeFolderPath(const char* path) {
    char folder[MAX_PATH + 1];
    const size_t length = strnlen(path, sizeof(folder));
    if (length >= sizeof(folder)) {
        return;
    }
    std::memcpy(folder, path, length + 1);
    if (length > 0 && folder[length - 1] == '\\') {
        folder[length - 1] = '\0';
    }
    if (GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES) {
        return;
    }
    // Each level shortens the buffer, so the recursion is at most 260 deep.
    if (char* lastSeparator = std::strrchr(folder, '\\')) {
        *lastSeparator = '\0';
        MakeFolderPath(folder);
    }
    CreateDirectoryA(path, nullptr);
}
