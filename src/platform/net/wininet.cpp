// The WinINet subset on HttpStream. Sessions hold the agent, the access type and
// the time-outs that requests opened on them start with.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/kernel/handle_table.h"
#include "platform/kernel/last_error.h"
#include "platform/net/http_stream.h"
#include "platform/win32.h"

namespace {

using kvplatform::HandleObject;
using kvplatform::HttpStream;
using kvplatform::HttpTimeouts;

// WinINet's own defaults.
constexpr long kDefaultConnectMs = 60000;
constexpr long kDefaultReceiveMs = 30000;

class InternetObject : public HandleObject {
public:
    std::atomic<long> connectMs{kDefaultConnectMs};
    std::atomic<long> receiveMs{kDefaultReceiveMs};
};

class InternetSession : public InternetObject {
public:
    std::string agent;
    bool direct = false;
};

class InternetRequest : public InternetObject {
public:
    std::mutex mutex;  // one call on the stream at a time
    HttpStream stream;
};

BOOL Fail(DWORD error) {
    kvplatform::SetLastErrorCode(error);
    return FALSE;
}

std::shared_ptr<InternetObject> FindInternetObject(HINTERNET handle) {
    return kvplatform::LookupHandle<InternetObject>(handle);
}

// The request behind a handle; empty, with the error set, for an unknown handle
// or a session.
std::shared_ptr<InternetRequest> FindRequest(HINTERNET handle) {
    const std::shared_ptr<InternetObject> object = FindInternetObject(handle);
    auto request = std::dynamic_pointer_cast<InternetRequest>(object);
    if (object && !request) {
        Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    }
    return request;
}

}  // namespace

HINTERNET InternetOpenA(LPCSTR lpszAgent, DWORD dwAccessType, LPCSTR /*lpszProxy*/,
                        LPCSTR /*lpszProxyBypass*/, DWORD dwFlags) {
    const bool known = dwAccessType == INTERNET_OPEN_TYPE_PRECONFIG ||
                       dwAccessType == INTERNET_OPEN_TYPE_DIRECT ||
                       dwAccessType == INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    // Asynchronous and offline sessions are not part of the subset.
    if (!known || dwFlags != 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto session = std::make_shared<InternetSession>();
    session->agent = lpszAgent != nullptr ? lpszAgent : "";
    session->direct = dwAccessType == INTERNET_OPEN_TYPE_DIRECT;
    return kvplatform::AddHandle(std::move(session));
}

BOOL InternetSetOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer,
                        DWORD dwBufferLength) {
    const std::shared_ptr<InternetObject> object = FindInternetObject(hInternet);
    if (!object) {
        return FALSE;
    }
    if (dwOption != INTERNET_OPTION_CONNECT_TIMEOUT &&
        dwOption != INTERNET_OPTION_RECEIVE_TIMEOUT) {
        return Fail(ERROR_INTERNET_INVALID_OPTION);
    }
    if (lpBuffer == nullptr || dwBufferLength < sizeof(DWORD)) {
        return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
    }
    DWORD value = 0;
    std::memcpy(&value, lpBuffer, sizeof value);
    const long ms = static_cast<long>(std::min<DWORD>(value, 0x7FFFFFFF));
    if (dwOption == INTERNET_OPTION_CONNECT_TIMEOUT) {
        object->connectMs = ms;
        return TRUE;
    }
    object->receiveMs = ms;
    if (auto request = std::dynamic_pointer_cast<InternetRequest>(object)) {
        std::lock_guard lock(request->mutex);
        request->stream.SetReceiveTimeout(ms);
    }
    return TRUE;
}

HINTERNET InternetOpenUrlA(HINTERNET hInternet, LPCSTR lpszUrl, LPCSTR lpszHeaders,
                           DWORD /*dwHeadersLength*/, DWORD /*dwFlags*/, DWORD_PTR /*dwContext*/) {
    const std::shared_ptr<InternetSession> session =
        kvplatform::LookupHandle<InternetSession>(hInternet);
    if (!session) {
        if (kvplatform::FindHandleObject(hInternet)) {
            Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
        }
        return nullptr;
    }
    if (lpszUrl == nullptr || lpszHeaders != nullptr) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto request = std::make_shared<InternetRequest>();
    request->connectMs = session->connectMs.load();
    request->receiveMs = session->receiveMs.load();
    DWORD error = 0;
    const HttpTimeouts timeouts{request->connectMs, request->receiveMs};
    if (!request->stream.Open(lpszUrl, session->agent, session->direct, timeouts, error)) {
        Fail(error);
        return nullptr;
    }
    return kvplatform::AddHandle(std::move(request));
}

BOOL HttpQueryInfoA(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer,
                    LPDWORD lpdwBufferLength, LPDWORD /*lpdwIndex*/) {
    const std::shared_ptr<InternetRequest> request = FindRequest(hRequest);
    if (!request) {
        return FALSE;
    }
    if (lpdwBufferLength == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if ((dwInfoLevel & ~HTTP_QUERY_FLAG_NUMBER) != HTTP_QUERY_STATUS_CODE) {
        return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
    }
    long status = 0;
    {
        std::lock_guard lock(request->mutex);
        status = request->stream.Status();
    }
    if ((dwInfoLevel & HTTP_QUERY_FLAG_NUMBER) != 0) {
        const DWORD number = static_cast<DWORD>(status);
        if (lpBuffer == nullptr || *lpdwBufferLength < sizeof number) {
            *lpdwBufferLength = sizeof number;
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        }
        std::memcpy(lpBuffer, &number, sizeof number);
        *lpdwBufferLength = sizeof number;
        return TRUE;
    }
    // As text: the length without the terminator on success, with it when too small.
    char text[16];
    const DWORD length = static_cast<DWORD>(std::snprintf(text, sizeof text, "%ld", status));
    if (lpBuffer == nullptr || *lpdwBufferLength < length + 1) {
        *lpdwBufferLength = length + 1;
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(lpBuffer, text, length + 1);
    *lpdwBufferLength = length;
    return TRUE;
}

BOOL InternetReadFile(HINTERNET hFile, LPVOID lpBuffer, DWORD dwNumberOfBytesToRead,
                      LPDWORD lpdwNumberOfBytesRead) {
    if (lpdwNumberOfBytesRead != nullptr) {
        *lpdwNumberOfBytesRead = 0;
    }
    const std::shared_ptr<InternetRequest> request = FindRequest(hFile);
    if (!request) {
        return FALSE;
    }
    if (lpdwNumberOfBytesRead == nullptr || (lpBuffer == nullptr && dwNumberOfBytesToRead != 0)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::lock_guard lock(request->mutex);
    size_t read = 0;
    DWORD error = 0;
    if (!request->stream.Read(static_cast<char*>(lpBuffer), dwNumberOfBytesToRead, read, error)) {
        return Fail(error);
    }
    *lpdwNumberOfBytesRead = static_cast<DWORD>(read);
    return TRUE;
}

BOOL InternetCloseHandle(HINTERNET hInternet) {
    return kvplatform::CloseHandleOfKind<InternetObject>(hInternet) ? TRUE : FALSE;
}
