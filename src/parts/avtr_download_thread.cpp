#include "parts/avtr_download_thread.h"

#include <list>

#include "parts/avtr_part_pool.h"
#include "parts/servers.h"

namespace {

constexpr DWORD kPollMs = 30;
constexpr DWORD kStopWaitMs = 3000;
// After the done event the worker only drops its state reference and returns.
constexpr DWORD kExitWaitMs = 5000;

using RequestList = std::list<std::unique_ptr<CAvtrDnRequest>>;

class CriticalSectionGuard {
public:
    explicit CriticalSectionGuard(CRITICAL_SECTION& section) : m_section(section) {
        EnterCriticalSection(&m_section);
    }
    ~CriticalSectionGuard() { LeaveCriticalSection(&m_section); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

}  // namespace

// Everything the worker touches. Shared by the thread object and the worker, so
// an abandoned worker keeps it alive until it ends.
struct CAvtrDnWorkerState {
    CAvtrDnWorkerState(const std::string& partUrl, const std::string& comUrl,
                       const std::string& cacheRoot)
        : m_hStopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_hDoneEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_strPartUrl(partUrl),
          m_strComUrl(comUrl),
          m_strCacheRoot(cacheRoot) {
        InitializeCriticalSection(&m_csQueue);
        InitializeCriticalSection(&m_csPoolGate);
    }

    ~CAvtrDnWorkerState() {
        DeleteCriticalSection(&m_csPoolGate);
        DeleteCriticalSection(&m_csQueue);
        if (m_hDoneEvent) {
            CloseHandle(m_hDoneEvent);
        }
        if (m_hStopEvent) {
            CloseHandle(m_hStopEvent);
        }
    }

    CAvtrDnWorkerState(const CAvtrDnWorkerState&) = delete;
    CAvtrDnWorkerState& operator=(const CAvtrDnWorkerState&) = delete;

    RequestList TakeQueue() {
        RequestList batch;
        CriticalSectionGuard guard(m_csQueue);
        batch.splice(batch.end(), m_listRequest);
        return batch;
    }

    void Append(RequestList& requests) {
        CriticalSectionGuard guard(m_csQueue);
        m_listRequest.splice(m_listRequest.end(), requests);
    }

    bool IsPoolGateShut() {
        CriticalSectionGuard guard(m_csPoolGate);
        return m_bPoolGateShut;
    }

    // Waits for a decode in progress, then keeps the worker out of the pool.
    void ShutPoolGate() {
        CriticalSectionGuard guard(m_csPoolGate);
        m_bPoolGateShut = true;
    }

    void DecodeIntoPool(const std::string& id, const std::string& path) {
        CriticalSectionGuard guard(m_csPoolGate);
        if (m_bPoolGateShut) {
            return;
        }
        if (CAvtrPartPool* pool = CAvtrPartPool::Inst()) {
            pool->FileLoad(id, path);
        }
    }

    void ProcessQueue() {
        RequestList batch = TakeQueue();
        if (batch.empty()) {
            return;
        }
        const CAvtrDnJob job(m_strPartUrl, m_strComUrl, m_strCacheRoot);
        for (const auto& request : batch) {
            // An abandoned worker drops the rest of its batch.
            if (IsPoolGateShut()) {
                return;
            }
            std::string id;
            std::string path;
            if (job.Fetch(request.get(), id, path)) {
                DecodeIntoPool(id, path);
            }
        }
    }

    const HANDLE m_hStopEvent;
    const HANDLE m_hDoneEvent;
    CRITICAL_SECTION m_csQueue;
    const std::string m_strPartUrl;
    const std::string m_strComUrl;
    const std::string m_strCacheRoot;
    RequestList m_listRequest;
    // Held while the worker decodes into the pool; shut when the owner gives up
    // waiting, because the pool may be destroyed right after.
    CRITICAL_SECTION m_csPoolGate;
    bool m_bPoolGateShut = false;
};

namespace {

using StateRef = std::shared_ptr<CAvtrDnWorkerState>;

DWORD WINAPI DownloadThreadMain(LPVOID parameter) {
    const std::unique_ptr<StateRef> state(static_cast<StateRef*>(parameter));
    while (WaitForSingleObject((*state)->m_hStopEvent, kPollMs) == WAIT_TIMEOUT) {
        (*state)->ProcessQueue();
    }
    SetEvent((*state)->m_hDoneEvent);
    return 0;
}

}  // namespace

CAvtrDownloadThread::CAvtrDownloadThread()
    : m_pState(std::make_shared<CAvtrDnWorkerState>("http://" + PartServerHost() + "/avgif/",
                                                    "http://" + AvatarServerHost() + "/IMG_AVTR/",
                                                    CAvtrPartPool::Inst()->GetPrePath(false))),
      m_hThread(nullptr) {
    if (!m_pState->m_hStopEvent || !m_pState->m_hDoneEvent) {
        return;
    }
    auto* workerRef = new StateRef(m_pState);
    m_hThread = CreateThread(nullptr, 0, DownloadThreadMain, workerRef, 0, nullptr);
    if (!m_hThread) {
        delete workerRef;
    }
}

CAvtrDownloadThread::~CAvtrDownloadThread() {
    if (m_hThread) {
        SetEvent(m_pState->m_hStopEvent);
        if (WaitForSingleObject(m_pState->m_hDoneEvent, kStopWaitMs) == WAIT_OBJECT_0) {
            WaitForSingleObject(m_hThread, kExitWaitMs);
        } else {
            // A download still hangs: leave the state to the worker.
            m_pState->ShutPoolGate();
        }
        CloseHandle(m_hThread);
    }
    // Requests never taken go unprocessed with the returned list.
    m_pState->TakeQueue();
}

void CAvtrDownloadThread::AddRequest(bool com, const std::string& fileName) {
    // Allocated outside the lock, which is held for the splice only.
    RequestList request;
    request.push_back(std::make_unique<CAvtrDnRequest>(com, fileName));
    m_pState->Append(request);
}

CAvtrDnJob CAvtrDownloadThread::MakeJob() const {
    return CAvtrDnJob(m_pState->m_strPartUrl, m_pState->m_strComUrl, m_pState->m_strCacheRoot);
}
