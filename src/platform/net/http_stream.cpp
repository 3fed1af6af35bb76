#include "platform/net/http_stream.h"

#include <strings.h>
#include <algorithm>
#include <cstring>

#include "platform/net/win32_net.h"

namespace kvplatform {
namespace {

// The longest single wait of the multi handle, so the receive time-out is checked often.
constexpr long kPollSliceMs = 100;

DWORD ErrorOfTransfer(CURLcode code) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return ERROR_INTERNET_NAME_NOT_RESOLVED;
        case CURLE_COULDNT_CONNECT:
            return ERROR_INTERNET_CANNOT_CONNECT;
        case CURLE_OPERATION_TIMEDOUT:
            return ERROR_INTERNET_TIMEOUT;
        case CURLE_URL_MALFORMAT:
            return ERROR_INTERNET_INVALID_URL;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
            return ERROR_INTERNET_CONNECTION_RESET;
        default:
            return ERROR_INTERNET_CONNECTION_ABORTED;
    }
}

bool StartsWithNoCase(const char* data, size_t size, const char* prefix) {
    const size_t length = std::strlen(prefix);
    return size >= length && strncasecmp(data, prefix, length) == 0;
}

}  // namespace

HttpStream::~HttpStream() {
    if (m_multi != nullptr) {
        curl_multi_remove_handle(m_multi, m_easy.get());
        curl_multi_cleanup(m_multi);
    }
}

bool HttpStream::Open(const char* url, const std::string& agent, bool direct, HttpTimeouts timeouts,
                      DWORD& error) {
    error = ERROR_INTERNET_INTERNAL_ERROR;
    m_timeouts = timeouts;
    if (!InitCurlOnce()) {
        return false;
    }
    m_easy.reset(curl_easy_init());
    m_multi = curl_multi_init();
    if (!m_easy || m_multi == nullptr) {
        return false;
    }
    CURL* easy = m_easy.get();
    const bool configured = SetCommonCurlOptions(easy, url, timeouts.connectMs) &&
                            curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str()) == CURLE_OK &&
                            (!direct || curl_easy_setopt(easy, CURLOPT_PROXY, "") == CURLE_OK) &&
                            curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeader) == CURLE_OK &&
                            curl_easy_setopt(easy, CURLOPT_HEADERDATA, this) == CURLE_OK &&
                            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBody) == CURLE_OK &&
                            curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK &&
                            curl_multi_add_handle(m_multi, easy) == CURLM_OK;
    if (!configured) {
        return false;
    }
    while (!m_headersDone && !m_finished) {
        if (!Pump(error)) {
            return false;
        }
    }
    if (!m_headersDone) {
        error = ErrorOfTransfer(m_result);
        return false;
    }
    return true;
}

bool HttpStream::Read(char* buffer, size_t size, size_t& read, DWORD& error) {
    read = 0;
    m_lastByte = Clock::now();  // the receive time-out counts from the caller's request
    while (read < size) {
        if (m_blockOffset < m_block.size()) {
            const size_t take = std::min(size - read, m_block.size() - m_blockOffset);
            std::memcpy(buffer + read, m_block.data() + m_blockOffset, take);
            m_blockOffset += take;
            read += take;
        } else if (m_finished) {
            break;
        } else if (m_paused) {
            m_paused = false;
            // May hand the held-back data to OnBody before it returns.
            curl_easy_pause(m_easy.get(), CURLPAUSE_CONT);
        } else if (!Pump(error)) {
            return false;
        }
    }
    // Data already received is handed out first; the failure comes with the next read.
    if (read == 0 && m_finished && m_result != CURLE_OK) {
        error = ErrorOfTransfer(m_result);
        return false;
    }
    return true;
}

size_t HttpStream::OnHeader(char* data, size_t size, size_t count, void* self) {
    auto* stream = static_cast<HttpStream*>(self);
    const size_t bytes = size * count;
    stream->m_lastByte = Clock::now();
    if (StartsWithNoCase(data, bytes, "HTTP/")) {
        stream->m_sawLocation = false;
    } else if (StartsWithNoCase(data, bytes, "Location:")) {
        stream->m_sawLocation = true;
    } else if (StartsWithNoCase(data, bytes, "\r\n") || StartsWithNoCase(data, bytes, "\n")) {
        long status = 0;
        curl_easy_getinfo(stream->m_easy.get(), CURLINFO_RESPONSE_CODE, &status);
        // Interim answers and followed redirects are not the answer the caller sees.
        const bool followed = status >= 300 && status < 400 && stream->m_sawLocation;
        if (status >= 200 && !followed) {
            stream->m_status = status;
            stream->m_headersDone = true;
        }
    }
    return bytes;
}

size_t HttpStream::OnBody(char* data, size_t size, size_t count, void* self) {
    auto* stream = static_cast<HttpStream*>(self);
    if (stream->m_blockOffset < stream->m_block.size()) {
        stream->m_paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    const size_t bytes = size * count;
    stream->m_block.assign(data, data + bytes);
    stream->m_blockOffset = 0;
    stream->m_lastByte = Clock::now();
    return bytes;
}

bool HttpStream::Pump(DWORD& error) {
    int running = 0;
    if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
        error = ERROR_INTERNET_INTERNAL_ERROR;
        return false;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            m_finished = true;
            m_result = message->data.result;
        }
    }
    if (m_finished || m_paused) {
        return true;
    }
    const Clock::time_point now = Clock::now();
    if (!m_connected) {
        // Connecting has its own time-out; the receive time-out starts once connected.
        curl_off_t connectTime = 0;
        curl_easy_getinfo(m_easy.get(), CURLINFO_CONNECT_TIME_T, &connectTime);
        m_connected = connectTime > 0;
        m_lastByte = now;
    }
    const long waitedMs = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now - m_lastByte).count());
    if (m_connected && waitedMs >= m_timeouts.receiveMs) {
        error = ERROR_INTERNET_TIMEOUT;
        return false;
    }
    const long sliceMs = std::clamp(m_timeouts.receiveMs - waitedMs, 1L, kPollSliceMs);
    curl_multi_poll(m_multi, nullptr, 0, static_cast<int>(sliceMs), nullptr);
    return true;
}

}  // namespace kvplatform
