#include "animated/avatar_download.h"

#include <cstring>
#include <string>

#include "base/avatar_log.h"
#include "parts/download_temp_name.h"
#include "platform/win32.h"

namespace {

constexpr DWORD kReceiveTimeoutMs = 1500;
constexpr DWORD kUrlFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION;
constexpr size_t kUrlBuffer = 520;
constexpr DWORD kBlockSize = 1024;

// Closes whatever internet handles it holds.
class InternetHandles {
public:
    InternetHandles() = default;
    InternetHandles(const InternetHandles&) = delete;
    InternetHandles& operator=(const InternetHandles&) = delete;
    ~InternetHandles() {
        if (request != nullptr) {
            InternetCloseHandle(request);
        }
        if (session != nullptr) {
            InternetCloseHandle(session);
        }
    }
    HINTERNET session = nullptr;
    HINTERNET request = nullptr;
};

// Direct access first, then the system's settings twice more.
HINTERNET OpenSession() {
    const DWORD accessTypes[] = {INTERNET_OPEN_TYPE_DIRECT, INTERNET_OPEN_TYPE_PRECONFIG,
                                 INTERNET_OPEN_TYPE_PRECONFIG};
    for (DWORD accessType : accessTypes) {
        if (HINTERNET session = InternetOpenA("VeltrunAvatar", accessType, nullptr, nullptr, 0)) {
            return session;
        }
    }
    return nullptr;
}

// Copies the body into the open file; false if a read or a write failed, so a
// body cut short is never taken for a whole one.
bool CopyBody(HINTERNET request, HANDLE file) {
    char block[kBlockSize];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, block, sizeof block, &read)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        DWORD written = 0;
        if (!WriteFile(file, block, read, &written, nullptr) || written != read) {
            return false;
        }
    }
}

bool WriteTemporary(HINTERNET request, const char* temporary) {
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool copied = CopyBody(request, file);
    const bool closed = CloseHandle(file) != FALSE;
    return copied && closed;
}

}  // namespace

int DownloadAvatarFile(const char* localPath, const char* url) {
    char address[kUrlBuffer];
    std::strncpy(address, url, sizeof address - 1);
    address[sizeof address - 1] = '\0';

    InternetHandles handles;
    handles.session = OpenSession();
    if (handles.session == nullptr) {
        return 0;
    }
    DWORD timeout = kReceiveTimeoutMs;
    InternetSetOptionA(handles.session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    AvatarLogPrint("KVAVTR:: downloadFile() :: %d times [ %s ]->[ %s ]\n", 0, address, localPath);
    handles.request = InternetOpenUrlA(handles.session, address, nullptr, 0, kUrlFlags, 0);
    if (handles.request == nullptr) {
        return 0;
    }
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(handles.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr) ||
        status != 200) {
        AvatarLogPrint("KVAVTR:: DownloadFile():: HttpQueryInfo() failed [FnRet:%u]\n",
                       static_cast<unsigned>(status));
        return 0;
    }
    const std::string temporary = MakeDownloadTemporaryPath(localPath);
    if (temporary.size() > MAX_PATH) {
        return 0;
    }
    if (!WriteTemporary(handles.request, temporary.c_str()) ||
        !MoveFileExA(temporary.c_str(), localPath, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        return 0;
    }
    return 1;
}
