// The download step: fetch a part file into the cache unless it is there, then
// have the pool decode it.
#pragma once

#include <string>

#include "parts/avtr_dn_request.h"

class CAvtrDnJob {
public:
    CAvtrDnJob(const std::string& partUrl, const std::string& comUrl, const std::string& cacheRoot);

    // Fetch, then CAvtrPartPool::Inst()->FileLoad. True if the file was cached
    // or fetched; false for a null or unsafe request or a failed fetch.
    bool operator()(const CAvtrDnRequest* request) const;

    // The fetch half alone: on true, id and path name the cached file to decode.
    bool Fetch(const CAvtrDnRequest* request, std::string& id, std::string& path) const;

private:
    std::string m_strPartUrl;
    std::string m_strComUrl;
    std::string m_strCacheRoot;
};

// Creates the folder and every missing parent, outermost first; paths longer
// than 260 characters are refused.
void MakeFolderPath(const char* path);
