#include "platform/net/curl_common.h"

#include <mutex>

namespace kvplatform {
namespace {

constexpr long kMaxRedirects = 5;
constexpr const char* kAllowedProtocols = "http,https";
// Loopback never goes through a proxy, as Windows bypasses it for local addresses.
constexpr const char* kNoProxyHosts = "localhost,127.0.0.1,::1";

}  // namespace

bool InitCurlOnce() {
    static std::once_flag once;
    static CURLcode result = CURLE_FAILED_INIT;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result == CURLE_OK;
}

bool SetFixedCurlOptions(CURL* curl) {
    return curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, kAllowedProtocols) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, kAllowedProtocols) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_NOPROXY, kNoProxyHosts) == CURLE_OK;
}

bool SetCommonCurlOptions(CURL* curl, const char* url, long connectMs) {
    return SetFixedCurlOptions(curl) && SetRequestCurlOptions(curl, url, connectMs);
}

bool SetRequestCurlOptions(CURL* curl, const char* url, long connectMs) {
    return curl_easy_setopt(curl, CURLOPT_URL, url) == CURLE_OK &&
           curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK;
}

}  // namespace kvplatform
