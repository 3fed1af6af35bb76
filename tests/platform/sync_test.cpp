#include <gtest/gtest.h>

#include <thread>

#include "platform/testing.h"

namespace {

DWORD WINAPI SetEventThenExit(LPVOID parameter) {
    SetEvent(static_cast<HANDLE>(parameter));
    return 7;
}

TEST(Events, ASignalGivenBeforeTheWaitIsKept) {
    for (const BOOL manual : {FALSE, TRUE}) {
        HANDLE event = CreateEventA(nullptr, manual, FALSE, nullptr);
        HANDLE thread = CreateThread(nullptr, 0, SetEventThenExit, event, 0, nullptr);
        ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeThread(thread, &code) && code == 7u);
        EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
        // An auto-reset event is spent by that wait; a manual one stays set.
        EXPECT_EQ(WaitForSingleObject(event, 0), manual ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
        EXPECT_TRUE(ResetEvent(event));
        EXPECT_EQ(WaitForSingleObject(event, 10), WAIT_TIMEOUT);
        EXPECT_TRUE(CloseHandle(thread) && CloseHandle(event));
        // A closed handle fails rather than reaching a recycled object.
        EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
        EXPECT_FALSE(SetEvent(event) || GetExitCodeThread(thread, &code));
    }
    HANDLE initiallySet = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(initiallySet, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(initiallySet, 0), WAIT_TIMEOUT);
    CloseHandle(initiallySet);
}

TEST(CriticalSections, AreReEntrantAndExclusive) {
    CRITICAL_SECTION lock;
    InitializeCriticalSection(&lock);
    long value = 0;
    const auto addMany = [&] {
        for (int i = 0; i < 2000; ++i) {
            EnterCriticalSection(&lock);
            EnterCriticalSection(&lock);
            const long seen = value;
            std::this_thread::yield();
            value = seen + 1;
            LeaveCriticalSection(&lock);
            LeaveCriticalSection(&lock);
        }
    };
    std::thread threads[] = {std::thread(addMany), std::thread(addMany), std::thread(addMany)};
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(value, 6000);
    DeleteCriticalSection(&lock);
}

}  // namespace
