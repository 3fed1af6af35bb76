// Opening, reading and writing files through handles.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/kernel/file_object.h"
#include "platform/kernel/last_error.h"
#include "platform/kernel/path_translation.h"
#include "platform/testing.h"

using kvplatform::FileObject;
using kvplatform::SetLastErrorCode;

namespace {

constexpr mode_t kNewFileMode = 0666;

int OpenFlags(DWORD access) {
    const bool read = (access & GENERIC_READ) != 0;
    const bool write = (access & GENERIC_WRITE) != 0;
    return (write ? (read ? O_RDWR : O_WRONLY) : O_RDONLY) | O_CLOEXEC;
}

// Opens per the disposition; -1 with errno on failure. *existed tells whether
// OPEN_ALWAYS or CREATE_ALWAYS found the file already there.
int OpenWithDisposition(const std::string& path, int flags, DWORD disposition, bool* existed) {
    *existed = false;
    switch (disposition) {
        case CREATE_NEW:
            return open(path.c_str(), flags | O_CREAT | O_EXCL, kNewFileMode);
        case OPEN_EXISTING:
            return open(path.c_str(), flags);
        case TRUNCATE_EXISTING:
            return open(path.c_str(), flags | O_TRUNC);
        case OPEN_ALWAYS:
        case CREATE_ALWAYS: {
            const int truncate = disposition == CREATE_ALWAYS ? O_TRUNC : 0;
            // Create exclusively first so that "existed" is exact; retry when
            // the file comes or goes between the two attempts.
            for (;;) {
                int fd = open(path.c_str(), flags | O_CREAT | O_EXCL, kNewFileMode);
                if (fd >= 0 || errno != EEXIST) {
                    return fd;
                }
                fd = open(path.c_str(), flags | truncate);
                if (fd >= 0 || errno != ENOENT) {
                    *existed = fd >= 0;
                    return fd;
                }
            }
        }
        default:
            errno = EINVAL;
            return -1;
    }
}

}  // namespace

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD /*dwShareMode*/,
                   LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                   DWORD /*dwFlagsAndAttributes*/, HANDLE /*hTemplateFile*/) {
    const bool canWrite = (dwDesiredAccess & GENERIC_WRITE) != 0;
    if (!lpFileName || (dwCreationDisposition == TRUNCATE_EXISTING && !canWrite)) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const bool mayCreate =
        dwCreationDisposition != OPEN_EXISTING && dwCreationDisposition != TRUNCATE_EXISTING;
    std::string path;
    bool existed = false;
    const auto open = [&](const std::string& posixPath) {
        return OpenWithDisposition(posixPath, OpenFlags(dwDesiredAccess), dwCreationDisposition,
                                   &existed);
    };
    const int fd = mayCreate ? open(path = kvplatform::TranslatePath(lpFileName))
                             : kvplatform::CallOnExistingPath(lpFileName, path, open);
    if (fd < 0) {
        const int error = errno;
        if (error == EEXIST) {
            SetLastErrorCode(ERROR_FILE_EXISTS);
        } else if (error == EISDIR) {
            SetLastErrorCode(ERROR_ACCESS_DENIED);
        } else {
            SetLastErrorCode(kvplatform::ErrorForPath(error, path));
        }
        return INVALID_HANDLE_VALUE;
    }
    // Folders open only with backup semantics on Windows, which nobody here asks
    // for; open() itself refuses to write to one.
    struct stat info;
    if (!canWrite && (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
        close(fd);
        SetLastErrorCode(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    // As Windows does, a success clears the last error, or tells that the file was there.
    SetLastErrorCode(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return kvplatform::AddHandle(
        std::make_shared<FileObject>(fd, (dwDesiredAccess & GENERIC_READ) != 0, canWrite));
}

namespace {

// The checks and the loop that ReadFile and WriteFile share: `move` transfers up
// to n bytes at an offset into the buffer, as read() or write() does.
template <typename Move>
BOOL TransferAll(HANDLE hFile, bool hasBuffer, DWORD count, LPDWORD done, LPOVERLAPPED overlapped,
                 bool (FileObject::*allowed)() const, Move move) {
    if (done) {
        *done = 0;
    }
    const auto file = kvplatform::LookupHandle<FileObject>(hFile);
    if (!file) {
        return FALSE;
    }
    if (overlapped || (!hasBuffer && count > 0)) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!((*file).*allowed)()) {
        SetLastErrorCode(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < count) {
        const ssize_t moved = move(file->Fd(), total, count - total);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved < 0) {
            SetLastErrorCode(kvplatform::ErrorFromErrno(errno));
            return FALSE;
        }
        // End of file when reading.
        if (moved == 0) {
            break;
        }
        total += static_cast<DWORD>(moved);
        if (done) {
            *done = total;
        }
    }
    return TRUE;
}

}  // namespace

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
              LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
    return TransferAll(hFile, lpBuffer != nullptr, nNumberOfBytesToRead, lpNumberOfBytesRead,
                       lpOverlapped, &FileObject::CanRead, [&](int fd, DWORD at, DWORD n) {
                           return read(fd, static_cast<char*>(lpBuffer) + at, n);
                       });
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
               LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    return TransferAll(hFile, lpBuffer != nullptr, nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                       lpOverlapped, &FileObject::CanWrite, [&](int fd, DWORD at, DWORD n) {
                           return write(fd, static_cast<const char*>(lpBuffer) + at, n);
                       });
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    const auto file = kvplatform::LookupHandle<FileObject>(hFile);
    struct stat info;
    if (!file) {
        return INVALID_FILE_SIZE;
    }
    if (fstat(file->Fd(), &info) != 0) {
        SetLastErrorCode(kvplatform::ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (lpFileSizeHigh) {
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    }
    const DWORD low = static_cast<DWORD>(size);
    if (low == INVALID_FILE_SIZE) {
        // Tells this size apart from a failure, as Windows does.
        SetLastErrorCode(ERROR_SUCCESS);
    }
    return low;
}
