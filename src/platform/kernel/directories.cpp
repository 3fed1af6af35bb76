// The current and the temporary directory, returned by the Win32 convention:
// the length without the terminator when the buffer holds the path, else the
// size the buffer needs (terminator included) and nothing written.
#include <cstdlib>
#include <cstring>

#include "platform/kernel/last_error.h"
#include "platform/kernel/path_translation.h"
#include "platform/kernel/win32_kernel.h"

namespace {

DWORD CopyPath(const std::string& path, DWORD bufferLength, LPSTR buffer) {
    if (path.empty()) {
        kvplatform::SetLastErrorCode(ERROR_GEN_FAILURE);
        return 0;
    }
    const DWORD length = static_cast<DWORD>(path.size());
    if (!buffer || bufferLength <= length) {
        return length + 1;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return length;
}

}  // namespace

DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    return CopyPath(kvplatform::CurrentDirectory(), nBufferLength, lpBuffer);
}

DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer) {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string path = tmpdir && *tmpdir ? tmpdir : "/tmp";
    if (path.back() != '/') {
        path += '/';
    }
    return CopyPath(path, nBufferLength, lpBuffer);
}
