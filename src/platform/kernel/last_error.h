// The calling thread's last-error code, shared by every function of the layer.
#pragma once

#include <string>

#include "platform/win32_types.h"

namespace kvplatform {

void SetLastErrorCode(DWORD code);

// The Win32 code that stands for a POSIX errno value.
DWORD ErrorFromErrno(int error);

// As ErrorFromErrno, but a missing name in a missing folder is ERROR_PATH_NOT_FOUND
// as on Windows, while a missing name in an existing folder stays ERROR_FILE_NOT_FOUND.
DWORD ErrorForPath(int error, const std::string& posixPath);

}  // namespace kvplatform
