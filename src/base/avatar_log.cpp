#include "base/avatar_log.h"

#include <cstdarg>
#include <cstdio>

#include "platform/win32.h"

AvatarLogFunction AvatarLog = AvatarLogSilent;

void AvatarLogSilent(const char* /*format*/, ...) {}

void AvatarLogPrint(const char* format, ...) {
    char buffer[520];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    // Some C runtimes leave a cut message unterminated or fail on bad input.
    buffer[sizeof buffer - 1] = '\0';
    if (length < 0) {
        buffer[0] = '\0';
    }
    OutputDebugStringA(buffer);
}
