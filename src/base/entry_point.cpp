// The load-time decision whether AvatarLog speaks: once, when the library is
// loaded, from the presence of "gstack" in the current directory.
#include "base/avatar_log.h"
#include "platform/win32.h"

namespace {

void DecideLogging() {
    if (_access_s("gstack", 0) == 0) {
        AvatarLog = AvatarLogPrint;
    }
}

}  // namespace

#ifdef _WIN32
extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        DecideLogging();
    }
    return TRUE;
}
#else
__attribute__((constructor)) static void OnLibraryLoad() {
    DecideLogging();
}
#endif
