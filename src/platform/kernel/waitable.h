// Objects WaitForSingleObject can wait on: threads (signalled once they end)
// and events. The state lives under the object's own mutex, so a signal given
// before anybody waits is never lost.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/kernel/handle_table.h"

namespace kvplatform {

class WaitableObject : public KernelObject {
public:
    // True when signalled within the time-out (INFINITE waits for ever).
    bool Wait(DWORD milliseconds);

protected:
    // Both run with m_mutex held.
    virtual bool IsSignalled() const = 0;
    // What a successful wait does to the state (an auto-reset event resets).
    virtual void OnWaitSatisfied() {}

    // Changes the state under the mutex, then wakes every waiter.
    template <class Change>
    void Signal(Change change) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            change();
        }
        m_changed.notify_all();
    }

    std::mutex m_mutex;

private:
    std::condition_variable m_changed;
};

}  // namespace kvplatform
