#include "parts/avtr_download_thread.h"

#include <exception>
#include <list>

#include "parts/avtr_part_pool.h"
#include "parts/critical_section_guard.h"
#include "parts/servers.h"

namespace {

constexpr DWORD kPollMs = 30;
constexpr DWORD kStopWaitMs = 3000;
// Enough for a download that has stalled to hit the 5 s no-byte limit.
constexpr DWORD kFurtherStopWaitMs = 5000;

using RequestList = std::list<std::unique_ptr<CAvtrDnRequest>>;

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

    bool IsBatchDropped() {
        CriticalSectionGuard guard(m_csPoolGate);
        return m_gate != Gate::kOpen;
    }

    // The owner has waited long enough: the worker finishes its current request only.
    void DropBatch() {
        CriticalSectionGuard guard(m_csPoolGate);
        m_gate = Gate::kBatchDropped;
    }

    // Waits for a decode in progress, then keeps the worker out of the pool.
    void ShutPoolGate() {
        CriticalSectionGuard guard(m_csPoolGate);
        m_gate = Gate::kShut;
    }

    void DecodeIntoPool(const std::string& id, const std::string& path) {
        CriticalSectionGuard guard(m_csPoolGate);
        if (m_gate == Gate::kShut) {
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
            if (IsBatchDropped()) {
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
    // Held while the worker decodes into the pool. Shut when the owner gives up
    // on the worker, because the pool may be destroyed right after.
    enum class Gate { kOpen, kBatchDropped, kShut };
    CRITICAL_SECTION m_csPoolGate;
    Gate m_gate = Gate::kOpen;
};

namespace {

using StateRef = std::shared_ptr<CAvtrDnWorkerState>;

DWORD WINAPI DownloadThreadMain(LPVOID parameter) {
    const std::unique_ptr<StateRef> state(static_cast<StateRef*>(parameter));
    while (WaitForSingleObject((*state)->m_hStopEvent, kPollMs) == WAIT_TIMEOUT) {
        try {
            (*state)->ProcessQueue();
        } catch (const std::exception&) {
            // Out of memory: the batch is dropped; its parts are asked for again.
        }
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
    Stop();
    // Requests never taken go unprocessed with the returned list.
    m_pState->TakeQueue();
}

CAvtrDownloadThread::StopResult CAvtrDownloadThread::Stop() {
    if (!m_hThread) {
        return StopResult::kNotRunning;
    }
    SetEvent(m_pState->m_hStopEvent);
    StopResult result = StopResult::kEnded;
    if (WaitForSingleObject(m_pState->m_hDoneEvent, kStopWaitMs) != WAIT_OBJECT_0) {
        m_pState->DropBatch();
        m_pState->TakeQueue();
        result = StopResult::kEndedLate;
    }
    // After the done event the worker only drops its state reference and returns.
    if (WaitForSingleObject(m_hThread, kFurtherStopWaitMs) != WAIT_OBJECT_0) {
        // A download still hangs: leave the state to the worker.
        m_pState->ShutPoolGate();
        result = StopResult::kAbandoned;
    }
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    return result;
}

bool CAvtrDownloadThread::AddRequest(bool com, const std::string& fileName) noexcept {
    // Allocated outside the lock, which is held for the splice only.
    try {
        RequestList request;
        request.push_back(std::make_unique<CAvtrDnRequest>(com, fileName));
        m_pState->Append(request);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

CAvtrDnJob CAvtrDownloadThread::MakeJob() const {
    return CAvtrDnJob(m_pState->m_strPartUrl, m_pState->m_strComUrl, m_pState->m_strCacheRoot);
}
