// What every libcurl transfer of the layer shares: one global initialisation and
// the options that keep a transfer to HTTP, off signals and off proxies for loopback.
#pragma once

#include <curl/curl.h>

#include <memory>

namespace kvplatform {

// curl_global_init once per process; false if it failed.
bool InitCurlOnce();

// Protocols, redirects, no signals, proxy bypass for loopback, connect time-out.
bool SetCommonCurlOptions(CURL* curl, const char* url, long connectMs);

// The part of SetCommonCurlOptions that is the same for every request, for a
// handle that keeps its options from one request to the next...
bool SetFixedCurlOptions(CURL* curl);
// ...and the part that is not.
bool SetRequestCurlOptions(CURL* curl, const char* url, long connectMs);

struct EasyCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

}  // namespace kvplatform
