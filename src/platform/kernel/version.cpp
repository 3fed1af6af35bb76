// GetVersionExA: an NT-family system, version 6.1, unless a test pretends otherwise.
#include <atomic>
#include <cstring>

#include "platform/kernel/last_error.h"
#include "platform/testing.h"

namespace {

std::atomic<bool> pretendNonNt{false};

}  // namespace

namespace kvplatform {

void SetPretendNonNt(bool nonNt) {
    pretendNonNt = nonNt;
}

}  // namespace kvplatform

BOOL GetVersionExA(LPOSVERSIONINFOA lpVersionInformation) {
    if (!lpVersionInformation) {
        kvplatform::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD size = lpVersionInformation->dwOSVersionInfoSize;
    if (size != sizeof(OSVERSIONINFOA) && size != sizeof(OSVERSIONINFOEXA)) {
        kvplatform::SetLastErrorCode(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = size;
    if (pretendNonNt) {
        info.dwMajorVersion = 4;
        info.dwMinorVersion = 10;
        info.dwBuildNumber = 0x040A08AE;  // 4.10.2222, build number with the version on top
        info.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    } else {
        info.dwMajorVersion = 6;
        info.dwMinorVersion = 1;
        info.dwBuildNumber = 7601;
        info.dwPlatformId = VER_PLATFORM_WIN32_NT;
        std::strcpy(info.szCSDVersion, "Service Pack 1");
        info.wServicePackMajor = 1;
        info.wProductType = 1;  // workstation
    }
    // Only as many bytes as the caller's structure has.
    std::memcpy(lpVersionInformation, &info, size);
    return TRUE;
}
