#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/testing.h"

namespace {

DWORD WINAPI SetEventThenExit(LPVOID parameter) {
    SetEvent(static_cast<HANDLE>(parameter));
    return 7;
}

TEST(Events, ASignalGivenBeforeTheWaitIsKept) {
    for (const BOOL manual : {FALSE, TRUE}) {
        HANDLE event = CreateEventA(nullptr, manual, FALSE, nullptr);
        ASSERT_NE(event, nullptr);
        HANDLE thread = CreateThread(nullptr, 0, SetEventThenExit, event, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
        // The event was set before anybody waited.
        EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
        // An auto-reset event is spent by that wait; a manual one stays set.
        EXPECT_EQ(WaitForSingleObject(event, 0), manual ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
        EXPECT_TRUE(ResetEvent(event));
        EXPECT_EQ(WaitForSingleObject(event, 10), WAIT_TIMEOUT);
        EXPECT_TRUE(CloseHandle(thread));
        EXPECT_TRUE(CloseHandle(event));
    }
}

TEST(Events, InitialStateCounts) {
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

struct Waiters {
    HANDLE event;
    std::atomic<int> started{0};
    std::atomic<int> woken{0};
};

DWORD WINAPI WaitOnce(LPVOID parameter) {
    auto* waiters = static_cast<Waiters*>(parameter);
    ++waiters->started;
    const bool signalled = WaitForSingleObject(waiters->event, INFINITE) == WAIT_OBJECT_0;
    waiters->woken += signalled ? 1 : 0;
    return 0;
}

// Waiters that are blocked (or about to block) when the event is set.
std::vector<HANDLE> StartWaiters(Waiters& waiters, int count) {
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) {
        threads.push_back(CreateThread(nullptr, 0, WaitOnce, &waiters, 0, nullptr));
    }
    while (waiters.started < count) {
        Sleep(1);
    }
    return threads;
}

TEST(Events, AManualResetEventWakesEveryWaiter) {
    Waiters waiters;
    waiters.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<HANDLE> threads = StartWaiters(waiters, 4);
    SetEvent(waiters.event);
    for (HANDLE thread : threads) {
        EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    EXPECT_EQ(waiters.woken, 4);
    CloseHandle(waiters.event);
}

TEST(Events, AnAutoResetEventReleasesOneWaiterPerSignal) {
    Waiters waiters;
    waiters.event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::vector<HANDLE> threads = StartWaiters(waiters, 3);
    for (int released = 1; released <= 3; ++released) {
        SetEvent(waiters.event);
        while (waiters.woken < released) {
            Sleep(1);
        }
        EXPECT_EQ(waiters.woken, released);
    }
    for (HANDLE thread : threads) {
        EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    EXPECT_EQ(WaitForSingleObject(waiters.event, 0), WAIT_TIMEOUT);
    CloseHandle(waiters.event);
}

struct Gate {
    std::atomic<bool> ran{false};
    HANDLE release;
};

DWORD WINAPI MarkAndWait(LPVOID parameter) {
    auto* gate = static_cast<Gate*>(parameter);
    gate->ran = true;
    WaitForSingleObject(gate->release, INFINITE);
    return 42;
}

TEST(Threads, SuspendedStartExitCodeAndClosedHandles) {
    Gate gate;
    gate.release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, MarkAndWait, &gate, CREATE_SUSPENDED, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL));
    Sleep(20);
    EXPECT_FALSE(gate.ran);  // a suspended thread has not started
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);

    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, 10), WAIT_TIMEOUT);
    SetEvent(gate.release);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(gate.ran);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(ResumeThread(thread), 0u);
    EXPECT_TRUE(CloseHandle(thread));

    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ResumeThread(thread), static_cast<DWORD>(-1));
    EXPECT_FALSE(SetThreadPriority(thread, THREAD_PRIORITY_NORMAL));
    EXPECT_FALSE(GetExitCodeThread(thread, &code));
    EXPECT_FALSE(SetEvent(thread));
    CloseHandle(gate.release);
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
