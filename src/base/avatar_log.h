// The debug log. Switchable lines go through AvatarLog, which stays silent
// unless a file or folder named "gstack" was in the current directory when the
// library was loaded; AvatarLogPrint always writes. Both format printf-style
// into 520 bytes (longer text is cut) and add nothing: callers put the
// "KVAVTR:: " prefix and the line end into their formats.
#pragma once

typedef void (*AvatarLogFunction)(const char* format, ...);

extern AvatarLogFunction AvatarLog;

void AvatarLogSilent(const char* format, ...);
void AvatarLogPrint(const char* format, ...);
