// Threads on std::thread. Each runs detached and owns a share of its handle's
// object, so closing the handle neither stops the thread nor frees its state.
#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>

#include "platform/kernel/last_error.h"
#include "platform/kernel/waitable.h"
#include "platform/kernel/win32_kernel.h"

namespace {

class ThreadObject : public kvplatform::WaitableObject {
public:
    ThreadObject(DWORD suspendCount, DWORD id) : m_suspendCount(suspendCount), m_id(id) {}

    void Run(LPTHREAD_START_ROUTINE start, LPVOID parameter) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_resumed.wait(lock, [this] { return m_suspendCount == 0; });
        }
        const DWORD exitCode = start(parameter);
        Signal([&] {
            m_exitCode = exitCode;
            m_finished = true;
        });
    }

    // The suspend count before the call.
    DWORD Resume() {
        DWORD previous;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            previous = m_suspendCount;
            if (m_suspendCount > 0) {
                --m_suspendCount;
            }
        }
        m_resumed.notify_all();
        return previous;
    }

    DWORD ExitCode() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_finished ? m_exitCode : STILL_ACTIVE;
    }

    DWORD Id() const { return m_id; }

private:
    bool IsSignalled() const override { return m_finished; }

    std::condition_variable m_resumed;
    DWORD m_suspendCount;
    const DWORD m_id;
    bool m_finished = false;
    DWORD m_exitCode = 0;
};

DWORD NextThreadId() {
    static std::atomic<DWORD> next{1};
    DWORD id = next.fetch_add(1);
    return id != 0 ? id : next.fetch_add(1);
}

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES /*lpThreadAttributes*/, SIZE_T /*dwStackSize*/,
                    LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId) {
    if (!lpStartAddress) {
        kvplatform::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const DWORD suspendCount = (dwCreationFlags & CREATE_SUSPENDED) ? 1 : 0;
    auto thread = std::make_shared<ThreadObject>(suspendCount, NextThreadId());
    try {
        std::thread([thread, lpStartAddress, lpParameter] {
            thread->Run(lpStartAddress, lpParameter);
        }).detach();
    } catch (const std::system_error&) {
        kvplatform::SetLastErrorCode(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (lpThreadId) {
        *lpThreadId = thread->Id();
    }
    return kvplatform::AddHandle(std::move(thread));
}

DWORD ResumeThread(HANDLE hThread) {
    const auto thread = kvplatform::LookupHandle<ThreadObject>(hThread);
    return thread ? thread->Resume() : static_cast<DWORD>(-1);
}

BOOL SetThreadPriority(HANDLE hThread, int /*nPriority*/) {
    // Priorities are hints the library can do without; the handle is still checked.
    return kvplatform::LookupHandle<ThreadObject>(hThread) ? TRUE : FALSE;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    const auto thread = kvplatform::LookupHandle<ThreadObject>(hThread);
    if (!thread) {
        return FALSE;
    }
    if (!lpExitCode) {
        kvplatform::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpExitCode = thread->ExitCode();
    return TRUE;
}

void Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
    }
}
