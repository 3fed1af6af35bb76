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
        EXPECT_TRUE(GetExitCodeThread(thread, &code));
        EXPECT_EQ(code, 7u);
        EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
        // An auto-reset event is spent by that wait; a manual one stays set.
        EXPECT_EQ(WaitForSingleObject(event, 0), manual ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
        EXPECT_TRUE(ResetEvent(event));
        EXPECT_EQ(WaitForSingleObject(event, 10), WAIT_TIMEOUT);
        EXPECT_TRUE(CloseHandle(thread));
        EXPECT_TRUE(CloseHandle(event));
        // A closed handle fails rather than reaching a recycled object.
        EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
        EXPECT_FALSE(SetEvent(event));
        EXPECT_FALSE(GetExitCodeThread(thread, &code));
    }
    HANDLE initiallySet = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(initiallySet, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(initiallySet, 0), WAIT_TIMEOUT);
    CloseHandle(initiallySet);
}

struct Counter {
    CRITICAL_SECTION lock;
    long value = 0;
};

void AddNested(Counter& counter, int depth) {
    EnterCriticalSection(&counter.lock);
    if (depth > 0) {
        AddNested(counter, depth - 1);
    } else {
        const long seen = counter.value;
        std::this_thread::yield();
        counter.value = seen + 1;
    }
    LeaveCriticalSection(&counter.lock);
}

DWORD WINAPI AddMany(LPVOID parameter) {
    for (int i = 0; i < 2000; ++i) {
        AddNested(*static_cast<Counter*>(parameter), 2);
    }
    return 0;
}

TEST(CriticalSections, AreReEntrantAndExclusive) {
    Counter counter;
    InitializeCriticalSection(&counter.lock);
    HANDLE threads[3];
    for (HANDLE& thread : threads) {
        thread = CreateThread(nullptr, 0, AddMany, &counter, 0, nullptr);
    }
    for (HANDLE thread : threads) {
        EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    EXPECT_EQ(counter.value, 6000);
    DeleteCriticalSection(&counter.lock);
}

}  // namespace
