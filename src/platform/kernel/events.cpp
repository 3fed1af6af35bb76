// Events and waiting.
#include <chrono>

#include "platform/kernel/last_error.h"
#include "platform/kernel/waitable.h"
#include "platform/kernel/win32_kernel.h"

namespace kvplatform {

bool WaitableObject::Wait(DWORD milliseconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto signalled = [this] { return IsSignalled(); };
    if (milliseconds == INFINITE) {
        m_changed.wait(lock, signalled);
    } else if (!m_changed.wait_until(
                   lock, std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds),
                   signalled)) {
        return false;
    }
    OnWaitSatisfied();
    return true;
}

}  // namespace kvplatform

namespace {

class EventObject : public kvplatform::WaitableObject {
public:
    EventObject(bool manualReset, bool signalled)
        : m_manualReset(manualReset), m_signalled(signalled) {}

    void Set() {
        Signal([this] { m_signalled = true; });
    }
    void Reset() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = false;
    }

private:
    bool IsSignalled() const override { return m_signalled; }
    void OnWaitSatisfied() override {
        if (!m_manualReset) {
            m_signalled = false;
        }
    }

    const bool m_manualReset;
    bool m_signalled;
};

}  // namespace

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES /*lpEventAttributes*/, BOOL bManualReset,
                    BOOL bInitialState, LPCSTR lpName) {
    if (lpName) {
        // Named events are shared between processes; nothing here needs them.
        kvplatform::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return kvplatform::AddHandle(
        std::make_shared<EventObject>(bManualReset != FALSE, bInitialState != FALSE));
}

BOOL SetEvent(HANDLE hEvent) {
    const auto event = kvplatform::LookupHandle<EventObject>(hEvent);
    if (!event) {
        return FALSE;
    }
    event->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
    const auto event = kvplatform::LookupHandle<EventObject>(hEvent);
    if (!event) {
        return FALSE;
    }
    event->Reset();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    const auto object = kvplatform::LookupHandle<kvplatform::WaitableObject>(hHandle);
    if (!object) {
        return WAIT_FAILED;
    }
    return object->Wait(dwMilliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
