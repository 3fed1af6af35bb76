#include "frame/avatar_cache_wipe.h"

#include <cstdio>
#include <cstring>

#include "animated/avatar_file_name.h"
#include "base/veltrun_directory.h"
#include "platform/win32.h"

namespace {

constexpr int kMaxEntries = 100;
constexpr int kPathBuffer = 261;

using FileFilter = bool (*)(const char* name);

bool AnyFile(const char*) {
    return true;
}

bool IsDotEntry(const WIN32_FIND_DATAA& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (std::strcmp(entry.cFileName, ".") == 0 || std::strcmp(entry.cFileName, "..") == 0);
}

void DeleteEntry(const char* fullFolder, const char* name) {
    char path[kPathBuffer * 2];
    const size_t length = std::strlen(fullFolder);
    const bool hasSeparator =
        length > 0 && (fullFolder[length - 1] == '\\' || fullFolder[length - 1] == '/');
    if (std::snprintf(path, sizeof path, "%s%s%s", fullFolder, hasSeparator ? "" : "\\", name) <
        static_cast<int>(sizeof path)) {
        DeleteFileA(path);
    }
}

// Walks the listing, handling at most kMaxEntries entries that pass the filter
// ("." and ".." always count); the next entry is fetched before one is deleted.
int DeleteMatchingFiles(const char* folder, FileFilter filter) {
    char pattern[kPathBuffer];
    if (std::snprintf(pattern, sizeof pattern, "%s\\*.*", folder) >= kPathBuffer) {
        return 0;
    }
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    char fullFolder[kPathBuffer];
    if (_fullpath(fullFolder, folder, kPathBuffer - 1) == nullptr) {
        FindClose(find);
        return 0;
    }
    int handled = 0;
    bool more = true;
    while (more && handled < kMaxEntries) {
        const WIN32_FIND_DATAA current = entry;
        more = FindNextFileA(find, &entry) != FALSE;
        if (IsDotEntry(current)) {
            ++handled;
        } else if (filter(current.cFileName)) {
            ++handled;
            DeleteEntry(fullFolder, current.cFileName);
        }
    }
    FindClose(find);
    return 1;
}

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Empties and removes the first numbered sub-folder that exists, if any.
void WipeFirstNumberedFolder(const char* cacheFolder) {
    for (int i = 0; i < 26; ++i) {
        char candidate[kPathBuffer];
        if (std::snprintf(candidate, sizeof candidate, "%s\\%x", cacheFolder, i % 26) >=
            kPathBuffer) {
            return;
        }
        if (Exists(candidate)) {
            DeleteMatchingFiles(candidate, AnyFile);
            RemoveDirectoryA(candidate);
            return;
        }
    }
}

}  // namespace

int DeleteFolderFiles(const char* folder) {
    return DeleteMatchingFiles(folder, AnyFile);
}

void ClearAvatarCache() {
    char home[kPathBuffer] = "";
    if (GetVeltrunDirectory(home) == 0) {
        GetTempPathA(kPathBuffer, home);
    }
    char cacheFolder[kPathBuffer];
    if (std::snprintf(cacheFolder, sizeof cacheFolder, "%s\\Avatar", home) >= kPathBuffer) {
        return;
    }
    // The folder also holds the legacy part sheets and their settings file.
    DeleteMatchingFiles(cacheFolder, IsAnimatedCacheFile);
    WipeFirstNumberedFolder(cacheFolder);
    WipeFirstNumberedFolder(cacheFolder);
}
