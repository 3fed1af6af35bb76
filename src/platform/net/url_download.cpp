// URLDownloadToFileA on libcurl. The body goes to the file as libcurl delivers
// it; the file is created only when a 2xx body starts, so a failure before that
// leaves whatever was at the path alone, and a failure after it deletes the file.
// Every phase is bounded in time so that a stopping thread never waits long.
// Each thread keeps one easy handle, so that its downloads from one server reuse
// the connection as the system's URL-download service does.
#include <atomic>
#include <chrono>
#include <utility>

#include "platform/net/curl_common.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

using kvplatform::EasyHandle;

constexpr long kDefaultConnectMs = 5000;
// A transfer that receives no byte for this long ends.
constexpr long kDefaultStallMs = 5000;
constexpr long kOverallCapSeconds = 60;
// Error pages up to this size are read and dropped rather than cut off.
constexpr size_t kMaxDiscardedErrorBody = 64 * 1024;
// An idle kept-alive connection older than this is closed instead of reused.
constexpr long kMaxIdleConnectionSeconds = 30;

std::atomic<long> g_connectMs{kDefaultConnectMs};
std::atomic<long> g_stallMs{kDefaultStallMs};

// The download target, created on the first byte of a 2xx body and deleted
// again unless it is kept.
class TargetFile {
public:
    explicit TargetFile(LPCSTR path) : m_path(path) {}
    TargetFile(const TargetFile&) = delete;
    TargetFile& operator=(const TargetFile&) = delete;
    ~TargetFile() { Discard(); }

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    bool Open() {
        m_handle = CreateFileA(m_path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        m_created = IsOpen();
        return m_created;
    }

    bool Write(const char* data, size_t size) {
        // libcurl hands over one receive buffer at a time (16 KiB here), far below 4 GiB.
        const DWORD wanted = static_cast<DWORD>(size);
        DWORD written = 0;
        return WriteFile(m_handle, data, wanted, &written, nullptr) && written == wanted;
    }

    // Closes the file (creating it for an empty body) and keeps it; false if that fails.
    bool Keep() {
        if (!IsOpen() && !Open()) {
            return false;
        }
        const bool closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        if (closed) {
            m_created = false;
        }
        return closed;
    }

    // Closes and deletes whatever this object wrote.
    void Discard() {
        if (IsOpen()) {
            CloseHandle(m_handle);
            m_handle = INVALID_HANDLE_VALUE;
        }
        if (m_created) {
            DeleteFileA(m_path);
            m_created = false;
        }
    }

private:
    LPCSTR m_path;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_created = false;
};

using Clock = std::chrono::steady_clock;

struct Transfer {
    CURL* curl;
    TargetFile file;
    std::chrono::milliseconds stallLimit;
    bool fileFailed = false;
    curl_off_t received = 0;
    size_t discarded = 0;
    Clock::time_point lastProgress = Clock::now();
};

bool IsSuccessStatus(long status) {
    return status >= 200 && status < 300;
}

size_t WriteBody(char* data, size_t size, size_t count, void* userdata) {
    auto* transfer = static_cast<Transfer*>(userdata);
    const size_t bytes = size * count;
    if (!transfer->file.IsOpen()) {
        long status = 0;
        curl_easy_getinfo(transfer->curl, CURLINFO_RESPONSE_CODE, &status);
        // The body of an error answer is never written; the status decides the result.
        // A short one is read to its end so that the connection stays usable.
        if (!IsSuccessStatus(status)) {
            transfer->discarded += bytes;
            return transfer->discarded <= kMaxDiscardedErrorBody ? bytes : 0;
        }
        if (!transfer->file.Open()) {
            transfer->fileFailed = true;
            return 0;
        }
    }
    if (!transfer->file.Write(data, bytes)) {
        transfer->fileFailed = true;
        return 0;
    }
    return bytes;
}

// libcurl's own low-speed check averages over several seconds, so a stall right
// after a burst would run on for seconds longer; this counts from the last byte.
int AbortWhenStalled(void* userdata, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(userdata);
    const Clock::time_point now = Clock::now();
    if (received != transfer->received) {
        transfer->received = received;
        transfer->lastProgress = now;
        return 0;
    }
    return now - transfer->lastProgress >= transfer->stallLimit ? 1 : 0;
}

// The options every download shares, set once per handle: re-setting them per
// call cost more than the transfer's own bookkeeping.
bool ConfigureHandle(CURL* curl) {
    return kvplatform::SetFixedCurlOptions(curl) &&
           curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AbortWhenStalled) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_TIMEOUT, kOverallCapSeconds) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_MAXAGE_CONN, kMaxIdleConnectionSeconds) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody) == CURLE_OK;
}

// The calling thread's handle, configured; its connections stay open for the
// next call. Null when libcurl cannot make one.
CURL* ThreadHandle() {
    thread_local EasyHandle handle;
    if (!handle) {
        EasyHandle made(curl_easy_init());
        if (made && ConfigureHandle(made.get())) {
            handle = std::move(made);
        }
    }
    return handle.get();
}

bool ConfigureRequest(CURL* curl, LPCSTR url, Transfer* transfer) {
    return kvplatform::SetRequestCurlOptions(curl, url, g_connectMs.load()) &&
           curl_easy_setopt(curl, CURLOPT_XFERINFODATA, transfer) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_WRITEDATA, transfer) == CURLE_OK;
}

HRESULT ResultOfStatus(long status) {
    return status == 404 || status == 410 ? INET_E_RESOURCE_NOT_FOUND : INET_E_DOWNLOAD_FAILURE;
}

HRESULT ResultOfTransport(CURLcode code) {
    switch (code) {
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return INET_E_INVALID_URL;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return INET_E_RESOURCE_NOT_FOUND;
        case CURLE_COULDNT_CONNECT:
            return INET_E_CANNOT_CONNECT;
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_ABORTED_BY_CALLBACK:  // only the stall check aborts
            return INET_E_CONNECTION_TIMEOUT;
        default:
            return INET_E_DOWNLOAD_FAILURE;
    }
}

}  // namespace

HRESULT URLDownloadToFileA(LPUNKNOWN, LPCSTR szURL, LPCSTR szFileName, DWORD,
                           LPBINDSTATUSCALLBACK) {
    if (szURL == nullptr) {
        return INET_E_INVALID_URL;
    }
    if (szFileName == nullptr || !kvplatform::InitCurlOnce()) {
        return E_FAIL;
    }
    CURL* curl = ThreadHandle();
    if (curl == nullptr) {
        return E_FAIL;
    }
    Transfer transfer{curl, TargetFile(szFileName), std::chrono::milliseconds(g_stallMs.load())};
    if (!ConfigureRequest(curl, szURL, &transfer)) {
        return E_FAIL;
    }
    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);

    if (transfer.fileFailed) {
        return E_FAIL;
    }
    if (status != 0 && !IsSuccessStatus(status)) {
        return ResultOfStatus(status);
    }
    if (code != CURLE_OK) {
        return ResultOfTransport(code);
    }
    return transfer.file.Keep() ? S_OK : E_FAIL;
}

namespace kvplatform {

void SetDownloadTimeouts(int connectMs, int stallMs) {
    g_connectMs = connectMs > 0 ? connectMs : kDefaultConnectMs;
    g_stallMs = stallMs > 0 ? stallMs : kDefaultStallMs;
}

}  // namespace kvplatform
