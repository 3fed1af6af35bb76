// Names in the file system: deleting, renaming, attributes and folders.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/kernel/last_error.h"
#include "platform/kernel/path_translation.h"
#include "platform/testing.h"

using kvplatform::SetLastErrorCode;

namespace {

BOOL FailForPath(const std::string& path) {
    SetLastErrorCode(kvplatform::ErrorForPath(errno, path));
    return FALSE;
}

// stat() of what the Windows path names; the POSIX path through `path`.
int StatPath(const char* windowsPath, std::string& path, struct stat& info) {
    return kvplatform::CallOnExistingPath(windowsPath, path, [&](const std::string& posixPath) {
        return stat(posixPath.c_str(), &info);
    });
}

// rename() that fails with EEXIST instead of replacing an existing target.
int RenameWithoutReplacing(const std::string& from, const std::string& to) {
    const int result = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
    if (result == 0 || errno != EINVAL) {
        return result;
    }
    // File systems without RENAME_NOREPLACE: check, then rename.
    struct stat info;
    if (lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return -1;
    }
    return rename(from.c_str(), to.c_str());
}

}  // namespace

BOOL DeleteFileA(LPCSTR lpFileName) {
    if (!lpFileName) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string path;
    if (kvplatform::CallOnExistingPath(lpFileName, path, [](const std::string& posixPath) {
            return unlink(posixPath.c_str());
        }) != 0) {
        return FailForPath(path);
    }
    return TRUE;
}

BOOL MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
    if (!lpExistingFileName || !lpNewFileName) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string from;
    struct stat info;
    if (kvplatform::CallOnExistingPath(lpExistingFileName, from, [&](const std::string& posixPath) {
            return lstat(posixPath.c_str(), &info);
        }) != 0) {
        return FailForPath(from);
    }
    const std::string to = kvplatform::TranslatePath(lpNewFileName);
    const bool replace = (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0;
    const int result =
        replace ? rename(from.c_str(), to.c_str()) : RenameWithoutReplacing(from, to);
    if (result != 0) {
        return FailForPath(to);
    }
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
    if (!lpFileName) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string path;
    struct stat info;
    if (StatPath(lpFileName, path, info) != 0) {
        FailForPath(path);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode)) {
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    return (info.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/) {
    if (!lpPathName) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = kvplatform::TranslatePath(lpPathName);
    if (mkdir(path.c_str(), 0777) != 0) {
        // A missing parent is ERROR_PATH_NOT_FOUND, whatever the last component.
        SetLastErrorCode(errno == ENOENT ? ERROR_PATH_NOT_FOUND
                                         : kvplatform::ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR lpPathName) {
    if (!lpPathName) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string path = kvplatform::TranslatePath(lpPathName);
    if (rmdir(path.c_str()) != 0) {
        if (errno == ENOTDIR) {
            SetLastErrorCode(ERROR_DIRECTORY);
            return FALSE;
        }
        return FailForPath(path);
    }
    return TRUE;
}

BOOL PathIsDirectoryA(LPCSTR pszPath) {
    std::string path;
    struct stat info;
    return pszPath && StatPath(pszPath, path, info) == 0 && S_ISDIR(info.st_mode)
               ? FILE_ATTRIBUTE_DIRECTORY
               : FALSE;
}
