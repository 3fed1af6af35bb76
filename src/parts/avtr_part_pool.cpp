#include "parts/avtr_part_pool.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "avatar_id/avtr_id.h"
#include "base/veltrun_directory.h"
#include "gif/kv_ani_dib_list.h"
#include "parts/avtr_download_thread.h"
#include "parts/critical_section_guard.h"
#include "parts/leftover_temporaries.h"
#include "parts/part_id_check.h"

CAvtrPartPool* CAvtrPartPool::m_pInst = nullptr;
CAvtrDownloadThread* CAvtrPartPool::m_pAvtrDnThread = nullptr;

namespace {

constexpr int kComBuckets = 26;
// Parts used by more avatars than this survive AdjustAvtrPart.
constexpr int kKeepUseCount = 10;

// Runs work to its end or until memory runs out, which leaves the pool as it was
// between two parts: a part still missing is asked for again on the next request.
template <class Work>
void UnlessOutOfMemory(Work&& work) noexcept {
    try {
        work();
    } catch (const std::exception&) {
    }
}

std::string CurrentDirectory() {
    char directory[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    return length > 0 && length < MAX_PATH ? directory : "";
}

// The home directory's "Avatar" folder, or the fallback when there is no home
// directory or the folder's path would not fit in 260 characters.
std::string PartCacheRoot(const std::string& fallback) {
    char home[MAX_PATH + 1] = {};
    if (!GetVeltrunDirectory(home)) {
        return fallback;
    }
    char root[MAX_PATH + 1];
    const int length = std::snprintf(root, sizeof(root), "%s\\Avatar\\", home);
    return length > 0 && length < static_cast<int>(sizeof(root)) ? root : fallback;
}

}  // namespace

int CAvtrPartPool::CreateInstance() {
    if (m_pInst) {
        return 0;
    }
    try {
        auto pool = std::make_unique<CAvtrPartPool>();
        pool->m_strDefPrePath = CurrentDirectory() + "\\common\\images\\";
        pool->m_strPrePath = PartCacheRoot(pool->m_strDefPrePath);
        DeleteLeftoverTemporaries(pool->m_strPrePath);
        m_pInst = pool.release();
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}

int CAvtrPartPool::DestroyInstance() {
    if (!m_pInst) {
        return 0;
    }
    DestroyDLThread();
    delete m_pInst;
    m_pInst = nullptr;
    return 1;
}

void CAvtrPartPool::CreateDLThread() {
    // A second thread would orphan the first; without a pool there is no cache root.
    if (m_pAvtrDnThread || !m_pInst) {
        return;
    }
    try {
        m_pAvtrDnThread = new CAvtrDownloadThread;
    } catch (const std::exception&) {
        m_pAvtrDnThread = nullptr;
    }
}

void CAvtrPartPool::DestroyDLThread() {
    delete m_pAvtrDnThread;
    m_pAvtrDnThread = nullptr;
}

std::string CAvtrPartPool::GetPartFolder(bool com, const std::string& name) {
    if (!com) {
        return name.substr(0, 2);
    }
    std::string_view id = name;
    if (id.ends_with(".gif")) {
        id.remove_suffix(4);
    }
    long long sum = 0;
    for (char c : id) {
        sum += static_cast<signed char>(c);
    }
    // A negative remainder is written as its 32-bit two's complement, as "%x" does.
    const int bucket = static_cast<int>(sum % kComBuckets);
    char folder[16];
    std::snprintf(folder, sizeof(folder), "com\\%x", static_cast<unsigned>(bucket));
    return folder;
}

CAvtrPartPool::CAvtrPartPool() {
    InitializeCriticalSection(&m_csLock);
}

CAvtrPartPool::~CAvtrPartPool() {
    for (auto& entry : m_mapPart) {
        delete entry.second;
    }
    m_mapPart.clear();
    DeleteCriticalSection(&m_csLock);
}

std::string& CAvtrPartPool::GetPrePath(bool defaultFolder) {
    return defaultFolder ? m_strDefPrePath : m_strPrePath;
}

void CAvtrPartPool::SetPrePath(const char* path) {
    m_strPrePath = path;
}

CAvtrPart* CAvtrPartPool::Get(const std::string& id) {
    CriticalSectionGuard guard(m_csLock);
    const auto found = m_mapPart.find(id);
    return found == m_mapPart.end() ? nullptr : found->second;
}

void CAvtrPartPool::Add(std::pair<std::string, CAvtrPart*> entry) {
    // Declared before the guard: a part that is not kept is destroyed unlocked.
    std::unique_ptr<CAvtrPart> part(entry.second);
    CriticalSectionGuard guard(m_csLock);
    UnlessOutOfMemory([&] {
        const auto [stored, inserted] = m_mapPart.emplace(entry.first, part.get());
        if (inserted || stored->second == part.get()) {
            part.release();
        }
    });
}

void CAvtrPartPool::Lock() {
    EnterCriticalSection(&m_csLock);
}

void CAvtrPartPool::Unlock() {
    LeaveCriticalSection(&m_csLock);
}

std::string CAvtrPartPool::CachedPartPath(bool com, const std::string& partId) {
    // The root ends in a backslash already; the doubled one is harmless.
    return m_strPrePath + "\\" + GetPartFolder(com, partId) + "\\" + partId + ".gif";
}

void CAvtrPartPool::RequestLoad(CAvtrId& id, bool async) {
    if (id.IsDefault()) {
        FileLoad(id);
        return;
    }
    const bool com = id.IsComAvtr();
    UnlessOutOfMemory([&] {
        for (const std::string& partId : id.IdVec()) {
            if (!IsSafePartId(partId)) {
                continue;
            }
            if (Get(partId)) {
                FileLoad(id);
                continue;
            }
            if (!m_pAvtrDnThread) {
                // Nothing can fetch: use what is on disk.
                FileLoad(partId, CachedPartPath(com, partId));
                continue;
            }
            const std::string fileName = partId + (com ? ".GIF" : ".gif");
            if (async) {
                m_pAvtrDnThread->AddRequest(com, fileName);
            } else {
                const CAvtrDnRequest request(com, fileName);
                m_pAvtrDnThread->MakeJob()(&request);
            }
        }
    });
}

void CAvtrPartPool::FileLoad(CAvtrId& id) {
    const CAvtrId::IdList& parts = id.IdVec();
    UnlessOutOfMemory([&] {
        if (id.IsDefault()) {
            if (!parts.empty() && IsSafePartId(parts.front())) {
                FileLoad(parts.front(), m_strDefPrePath + parts.front() + ".gif");
            }
            return;
        }
        for (const std::string& partId : parts) {
            if (IsSafePartId(partId) && !Get(partId)) {
                FileLoad(partId, CachedPartPath(id.IsComAvtr(), partId));
            }
        }
    });
}

void CAvtrPartPool::FileLoad(const std::string& id, const std::string& path) {
    // A missing file is no damage: deleting "it" could remove the file that
    // another thread's download has just put in place.
    if (Get(id) || _access_s(path.c_str(), 0) != 0) {
        return;
    }
    UnlessOutOfMemory([&] {
        cKvAniDIBList decoder;
        if (!decoder.Load(path.c_str())) {
            DeleteFileA(path.c_str());
            return;
        }
        auto part = std::make_unique<CAvtrPart>();
        decoder.exportImageList(part->m_vecFrames, part->m_vecDelays);
        Add({id, part.release()});
    });
}

void CAvtrPartPool::AdjustAvtrPart() {
    CriticalSectionGuard guard(m_csLock);
    for (auto entry = m_mapPart.begin(); entry != m_mapPart.end();) {
        if (entry->second && entry->second->m_nUseCount <= kKeepUseCount) {
            delete entry->second;
            entry = m_mapPart.erase(entry);
        } else {
            ++entry;
        }
    }
}
