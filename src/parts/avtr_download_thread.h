// The one part download thread of the process: a FIFO of requests polled every
// 30 ms; each batch is taken whole and run through one CAvtrDnJob.
//
// Stopping: the stop event is set and the worker gets 3 s to end. A worker
// still busy then is inside a slow download: the rest of its batch and the
// queue are dropped, and it gets a further 5 s to finish that download. One
// that hangs even longer is abandoned: it shares its state with this object
// through a reference count, so the state outlives the object until the worker
// ends, and a gate shut here keeps it from touching the pool again.
#pragma once

#include <memory>
#include <string>

#include "parts/avtr_dn_job.h"
#include "platform/win32.h"

struct CAvtrDnWorkerState;

class CAvtrDownloadThread {
public:
    // How a stop ended.
    enum class StopResult {
        kNotRunning,  // no worker: it never started or was stopped before
        kEnded,       // the worker ended within the first wait
        kEndedLate,   // it ended within the further wait, its batch dropped
        kAbandoned,   // still running after both waits; it never enters the pool again
    };

    // Base URLs from the configured servers; cache root copied from the pool,
    // which must exist.
    CAvtrDownloadThread();
    // Stops the worker and drops the requests still queued.
    ~CAvtrDownloadThread();

    CAvtrDownloadThread(const CAvtrDownloadThread&) = delete;
    CAvtrDownloadThread& operator=(const CAvtrDownloadThread&) = delete;

    // Appends a request; the worker sees it within its 30 ms poll. False when the
    // request cannot be allocated: it is dropped like a failed fetch, and the
    // part is asked for again the next time an avatar needs it.
    bool AddRequest(bool com, const std::string& fileName) noexcept;

    // A download step with this thread's base URLs and cache root.
    CAvtrDnJob MakeJob() const;

    // Asks the worker to end and waits as described above; later calls return
    // kNotRunning.
    StopResult Stop();

private:
    std::shared_ptr<CAvtrDnWorkerState> m_pState;
    HANDLE m_hThread;
};
