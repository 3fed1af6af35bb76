// GetTickCount: milliseconds of the monotonic clock, wrapping at 32 bits like the
// Windows tick count, or whatever a test's tick source says.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <mutex>

#include "platform/testing.h"

namespace {

std::mutex sourceMutex;
std::function<DWORD()> tickSource;
// Lets the real clock skip the mutex: a layered avatar reads the tick twice per part.
std::atomic<bool> hasTickSource{false};

DWORD MonotonicMilliseconds() {
#ifdef CLOCK_MONOTONIC_COARSE
    // The Windows tick advances every 10 to 16 ms; the coarse clock's step (the
    // kernel's timer tick, 1 to 10 ms) is no coarser, and reading it costs a quarter.
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) == 0) {
        return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                  static_cast<uint64_t>(now.tv_nsec) / 1000000u);
    }
#endif
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

}  // namespace

namespace kvplatform {

void SetTickSource(std::function<DWORD()> source) {
    std::lock_guard<std::mutex> lock(sourceMutex);
    tickSource = std::move(source);
    hasTickSource.store(static_cast<bool>(tickSource), std::memory_order_release);
}

}  // namespace kvplatform

DWORD GetTickCount() {
    if (!hasTickSource.load(std::memory_order_acquire)) {
        return MonotonicMilliseconds();
    }
    std::function<DWORD()> source;
    {
        std::lock_guard<std::mutex> lock(sourceMutex);
        source = tickSource;
    }
    if (source) {
        return source();
    }
    return MonotonicMilliseconds();
}
