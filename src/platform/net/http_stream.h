// One HTTP GET read pull-style: the caller's reads drive a libcurl multi handle,
// and the write callback pauses the transfer whenever the one block it holds has
// not been taken yet, so at most one libcurl delivery (16 KiB) is ever buffered.
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/net/curl_common.h"
#include "platform/win32_types.h"

namespace kvplatform {

struct HttpTimeouts {
    long connectMs;
    long receiveMs;  // longest wait for the next byte
};

class HttpStream {
public:
    HttpStream() = default;
    HttpStream(const HttpStream&) = delete;
    HttpStream& operator=(const HttpStream&) = delete;
    ~HttpStream();

    // Sends the request and waits for the final answer's headers. False with a
    // WinINet error code otherwise.
    bool Open(const char* url, const std::string& agent, bool direct, HttpTimeouts timeouts,
              DWORD& error);
    long Status() const { return m_status; }
    // Applies to the reads that follow.
    void SetReceiveTimeout(long receiveMs) { m_timeouts.receiveMs = receiveMs; }
    // Up to size bytes, fewer only at the end of the body; false with an error code.
    bool Read(char* buffer, size_t size, size_t& read, DWORD& error);

private:
    using Clock = std::chrono::steady_clock;

    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    // One round of the multi handle; false with an error when the transfer failed
    // or the receive time-out passed.
    bool Pump(DWORD& error);

    EasyHandle m_easy;
    CURLM* m_multi = nullptr;
    HttpTimeouts m_timeouts{};
    long m_status = 0;
    bool m_sawLocation = false;
    bool m_headersDone = false;
    bool m_connected = false;
    bool m_paused = false;
    bool m_finished = false;
    CURLcode m_result = CURLE_OK;
    std::vector<char> m_block;  // the delivery not yet handed out
    size_t m_blockOffset = 0;
    Clock::time_point m_lastByte;
};

}  // namespace kvplatform
