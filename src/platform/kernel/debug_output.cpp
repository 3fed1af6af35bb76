// OutputDebugStringA: stderr, or the sink a test installed.
#include <cstdio>
#include <mutex>

#include "platform/testing.h"

namespace {

std::mutex sinkMutex;
std::function<void(const char*)> debugSink;

}  // namespace

namespace kvplatform {

void SetDebugOutputSink(std::function<void(const char*)> sink) {
    std::lock_guard<std::mutex> lock(sinkMutex);
    debugSink = std::move(sink);
}

}  // namespace kvplatform

void OutputDebugStringA(LPCSTR lpOutputString) {
    if (!lpOutputString) {
        return;
    }
    std::function<void(const char*)> sink;
    {
        std::lock_guard<std::mutex> lock(sinkMutex);
        sink = debugSink;
    }
    if (sink) {
        sink(lpOutputString);
    } else {
        std::fputs(lpOutputString, stderr);
    }
}
