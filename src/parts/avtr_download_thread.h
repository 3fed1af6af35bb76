// The one part download thread of the process: a FIFO of requests polled every
// 30 ms; each batch is taken whole and run through one CAvtrDnJob.
//
// Stopping: the stop event is set and the destructor waits up to 3 s for the
// worker. A worker still inside a download after that (a hanging server) is
// abandoned: it shares its state with this object through a reference count,
// so the state outlives the object until the worker ends, and a gate shut by
// the destructor keeps it from touching the pool again.
#pragma once

#include <memory>
#include <string>

#include "parts/avtr_dn_job.h"
#include "platform/win32.h"

struct CAvtrDnWorkerState;

class CAvtrDownloadThread {
public:
    // Base URLs from the configured servers; cache root copied from the pool,
    // which must exist.
    CAvtrDownloadThread();
    ~CAvtrDownloadThread();

    CAvtrDownloadThread(const CAvtrDownloadThread&) = delete;
    CAvtrDownloadThread& operator=(const CAvtrDownloadThread&) = delete;

    // Appends a request; the worker sees it within its 30 ms poll.
    void AddRequest(bool com, const std::string& fileName);

    // A download step with this thread's base URLs and cache root.
    CAvtrDnJob MakeJob() const;

private:
    std::shared_ptr<CAvtrDnWorkerState> m_pState;
    HANDLE m_hThread;
};
