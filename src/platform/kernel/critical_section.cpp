// Critical sections are re-entrant mutexes built inside the caller's storage.
#include <mutex>
#include <new>

#include "platform/kernel/win32_kernel.h"

namespace {

static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::opaque),
              "the lock fits in CRITICAL_SECTION");
static_assert(alignof(std::recursive_mutex) <= alignof(CRITICAL_SECTION),
              "CRITICAL_SECTION is aligned for the lock");

std::recursive_mutex& Lock(LPCRITICAL_SECTION section) {
    return *std::launder(reinterpret_cast<std::recursive_mutex*>(section->opaque));
}

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    new (lpCriticalSection->opaque) std::recursive_mutex();
}

void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    Lock(lpCriticalSection).~recursive_mutex();
}

void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    Lock(lpCriticalSection).lock();
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    Lock(lpCriticalSection).unlock();
}
