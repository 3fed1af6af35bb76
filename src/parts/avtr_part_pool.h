// The process-wide cache of decoded avatar parts, keyed by part id.
//
// Parts enter only through FileLoad(id, path) and leave only through
// AdjustAvtrPart and the pool's destruction. Every map access holds the pool's
// re-entrant lock; decoding runs outside it. A caller that keeps a part pointer
// across a possible AdjustAvtrPart holds Lock() from before Get until done.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "parts/avtr_part.h"
#include "platform/win32.h"

class CAvtrId;
class CAvtrDownloadThread;

template <class Key, class Value>
using tMapDeclare = std::map<Key, Value>;

class CAvtrPartPool {
public:
    // The singleton and the one part download thread of the process.
    static CAvtrPartPool* m_pInst;
    static CAvtrDownloadThread* m_pAvtrDnThread;

    // 1 if created; 0 if one exists already.
    static int CreateInstance();
    static CAvtrPartPool* Inst() { return m_pInst; }
    // Stops and frees the download thread first; 1 if there was a pool.
    static int DestroyInstance();
    // Requires the pool: the thread copies its cache root.
    static void CreateDLThread();
    static void DestroyDLThread();

    // Sub-folder below the cache root of a part's file: the type code ("lc") for
    // a layered part, "com\<bucket>" for a com id (bucket = signed byte sum of
    // the name without a trailing ".gif", modulo 26, in lower-case hex).
    static std::string GetPartFolder(bool com, const std::string& name);

    CAvtrPartPool();
    virtual ~CAvtrPartPool();

    CAvtrPartPool(const CAvtrPartPool&) = delete;
    CAvtrPartPool& operator=(const CAvtrPartPool&) = delete;

    // The default image folder if true, else the part cache root.
    std::string& GetPrePath(bool defaultFolder);
    void SetPrePath(const char* path);

    // The part stored under id, or null.
    CAvtrPart* Get(const std::string& id);
    // Takes ownership of the part: if the id is present already, the stored
    // part stays and the new one is destroyed.
    void Add(std::pair<std::string, CAvtrPart*> entry);
    void Lock();
    void Unlock();

    // Decodes what is on disk; missing parts go through the download step,
    // queued (async) or on the calling thread. Unsafe part ids are skipped.
    void RequestLoad(CAvtrId& id, bool async);
    // Decodes from disk every part of id not yet in the pool.
    void FileLoad(CAvtrId& id);
    // Decodes one file into a new part stored under id; a file that does not
    // decode is deleted so that it is fetched again.
    void FileLoad(const std::string& id, const std::string& path);
    // Destroys every part whose use count is 10 or less.
    void AdjustAvtrPart();

private:
    // Cache-root path of a part's file, as FileLoad(CAvtrId&) reads it.
    std::string CachedPartPath(bool com, const std::string& partId);

    tMapDeclare<std::string, CAvtrPart*> m_mapPart;
    std::string m_strPrePath;
    std::string m_strDefPrePath;
    CRITICAL_SECTION m_csLock;
};
