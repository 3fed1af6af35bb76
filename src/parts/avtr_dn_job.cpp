#include "parts/avtr_dn_job.h"

#include "parts/avtr_part_pool.h"
#include "parts/part_fetch.h"
#include "parts/part_id_check.h"
#include "platform/win32.h"

namespace {

constexpr size_t kExtensionLength = 4;

bool IsGifExtension(const std::string& extension) {
    if (extension.size() != kExtensionLength || extension[0] != '.') {
        return false;
    }
    const char* letters = "gif";
    for (size_t i = 1; i < kExtensionLength; ++i) {
        if ((extension[i] | 0x20) != letters[i - 1]) {
            return false;
        }
    }
    return true;
}

std::string EndingWith(std::string text, char last) {
    if (text.empty() || text.back() != last) {
        text += last;
    }
    return text;
}

}  // namespace

CAvtrDnJob::CAvtrDnJob(const std::string& partUrl, const std::string& comUrl,
                       const std::string& cacheRoot)
    : m_strPartUrl(partUrl), m_strComUrl(comUrl), m_strCacheRoot(cacheRoot) {}

bool CAvtrDnJob::Fetch(const CAvtrDnRequest* request, std::string& id, std::string& path) const {
    if (!request) {
        return false;
    }
    const std::string& fileName = request->m_strFileName;
    if (fileName.size() <= kExtensionLength) {
        return false;
    }
    const size_t idLength = fileName.size() - kExtensionLength;
    if (!IsSafePartId(fileName.substr(0, idLength)) || !IsGifExtension(fileName.substr(idLength))) {
        return false;
    }
    const std::string baseUrl =
        EndingWith(request->m_bCom ? m_strComUrl : m_strPartUrl + fileName.substr(0, 2) + "/", '/');
    const std::string folder =
        EndingWith(m_strCacheRoot, '\\') + CAvtrPartPool::GetPartFolder(request->m_bCom, fileName);
    const std::string localPath = folder + "\\" + fileName;
    if (localPath.size() >= MAX_PATH) {
        return false;
    }
    MakeFolderPath(folder.c_str());
    if (_access_s(localPath.c_str(), 0) != 0 && !FetchPartFile(baseUrl + fileName, localPath)) {
        return false;
    }
    id = fileName.substr(0, idLength);
    path = localPath;
    return true;
}

bool CAvtrDnJob::operator()(const CAvtrDnRequest* request) const {
    std::string id;
    std::string path;
    if (!Fetch(request, id, path)) {
        return false;
    }
    if (CAvtrPartPool* pool = CAvtrPartPool::Inst()) {
        pool->FileLoad(id, path);
    }
    return true;
}
