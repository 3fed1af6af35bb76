// GetTickCount: milliseconds of the steady clock, wrapping at 32 bits like the
// Windows tick count, or whatever a test's tick source says.
#include <chrono>
#include <mutex>

#include "platform/testing.h"

namespace {

std::mutex sourceMutex;
std::function<DWORD()> tickSource;

}  // namespace

namespace kvplatform {

void SetTickSource(std::function<DWORD()> source) {
    std::lock_guard<std::mutex> lock(sourceMutex);
    tickSource = std::move(source);
}

}  // namespace kvplatform

DWORD GetTickCount() {
    std::function<DWORD()> source;
    {
        std::lock_guard<std::mutex> lock(sourceMutex);
        source = tickSource;
    }
    if (source) {
        return source();
    }
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}
