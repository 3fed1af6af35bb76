// Folder listings. A listing is read whole when it starts, so entries deleted
// while it is walked (as the cache wipe does) cannot disturb it. Entries come
// "." and ".." first, as Windows lists them in any folder but a root, then the
// rest ordered by name without regard to case.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/kernel/handle_table.h"
#include "platform/kernel/last_error.h"
#include "platform/kernel/path_translation.h"
#include "platform/testing.h"

using kvplatform::SetLastErrorCode;

namespace {

class FindObject : public kvplatform::HandleObject {
public:
    explicit FindObject(std::vector<WIN32_FIND_DATAA> entries) : m_entries(std::move(entries)) {}

    bool Next(WIN32_FIND_DATAA* data) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_next >= m_entries.size()) {
            return false;
        }
        *data = m_entries[m_next++];
        return true;
    }

private:
    std::mutex m_mutex;
    std::vector<WIN32_FIND_DATAA> m_entries;
    size_t m_next = 0;
};

char FoldCase(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// '*' matches any run of characters, '?' any one; "*.*" matches every name,
// including names without a dot, as on Windows.
bool MatchesPattern(const char* pattern, const char* name) {
    if (std::strcmp(pattern, "*.*") == 0) {
        return true;
    }
    const char* resumePattern = nullptr;
    const char* resumeName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            resumePattern = ++pattern;
            resumeName = name;
        } else if (*pattern == '?' || (*pattern && FoldCase(*pattern) == FoldCase(*name))) {
            ++pattern;
            ++name;
        } else if (resumePattern) {
            pattern = resumePattern;
            name = ++resumeName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') {
        ++pattern;
    }
    return *pattern == '\0';
}

FILETIME ToFileTime(const timespec& time) {
    // 100-nanosecond steps since 1601-01-01.
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
    const uint64_t steps = static_cast<uint64_t>(time.tv_sec + kSecondsFrom1601To1970) * 10000000u +
                           static_cast<uint64_t>(time.tv_nsec / 100);
    return FILETIME{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
}

WIN32_FIND_DATAA MakeEntry(const char* name, const struct stat& info) {
    WIN32_FIND_DATAA data{};
    const bool folder = S_ISDIR(info.st_mode);
    data.dwFileAttributes = folder                     ? FILE_ATTRIBUTE_DIRECTORY
                            : (info.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_NORMAL
                                                       : FILE_ATTRIBUTE_READONLY;
    data.ftCreationTime = ToFileTime(info.st_ctim);
    data.ftLastAccessTime = ToFileTime(info.st_atim);
    data.ftLastWriteTime = ToFileTime(info.st_mtim);
    const uint64_t size = folder ? 0 : static_cast<uint64_t>(info.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    std::strncpy(data.cFileName, name, sizeof data.cFileName - 1);
    return data;
}

bool IsRoot(const std::string& folder) {
    struct stat here;
    struct stat root;
    return stat(folder.c_str(), &here) == 0 && stat("/", &root) == 0 &&
           here.st_dev == root.st_dev && here.st_ino == root.st_ino;
}

bool NameBefore(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    return std::lexicographical_compare(a.cFileName, a.cFileName + std::strlen(a.cFileName),
                                        b.cFileName, b.cFileName + std::strlen(b.cFileName),
                                        [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

// The matching entries of a folder; false with errno set when it cannot be read.
bool ListFolder(const std::string& folder, const char* pattern,
                std::vector<WIN32_FIND_DATAA>& entries) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return false;
    }
    const int dirFd = dirfd(dir);
    struct stat info;
    if (!IsRoot(folder)) {
        for (const char* dots : {".", ".."}) {
            if (MatchesPattern(pattern, dots) && fstatat(dirFd, dots, &info, 0) == 0) {
                entries.push_back(MakeEntry(dots, info));
            }
        }
    }
    const size_t firstNamed = entries.size();
    while (const dirent* entry = readdir(dir)) {
        const bool dots =
            std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0;
        // An entry that vanished since readdir saw it is left out.
        if (!dots && MatchesPattern(pattern, entry->d_name) &&
            fstatat(dirFd, entry->d_name, &info, 0) == 0) {
            entries.push_back(MakeEntry(entry->d_name, info));
        }
    }
    closedir(dir);
    std::sort(entries.begin() + static_cast<std::ptrdiff_t>(firstNamed), entries.end(), NameBefore);
    return true;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
    if (!lpFileName || !lpFindFileData) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = kvplatform::ToPosixSeparators(lpFileName);
    const size_t slash = path.find_last_of('/');
    const std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0
                                   ? "/"
                                   : kvplatform::TranslatePath(path.substr(0, slash).c_str());
    std::vector<WIN32_FIND_DATAA> entries;
    if (!pattern.empty() && !ListFolder(folder, pattern.c_str(), entries)) {
        SetLastErrorCode(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                             : kvplatform::ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    if (entries.empty()) {
        SetLastErrorCode(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto listing = std::make_shared<FindObject>(std::move(entries));
    listing->Next(lpFindFileData);
    return kvplatform::AddHandle(std::move(listing));
}

BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
    const auto listing = kvplatform::LookupHandle<FindObject>(hFindFile);
    if (!listing) {
        return FALSE;
    }
    if (!lpFindFileData) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!listing->Next(lpFindFileData)) {
        SetLastErrorCode(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
    return kvplatform::CloseHandleOfKind<FindObject>(hFindFile) ? TRUE : FALSE;
}
