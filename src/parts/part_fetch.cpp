#include "parts/part_fetch.h"

#include <cstring>

#include "parts/download_temp_name.h"
#include "platform/win32.h"

namespace {

// Both GIF versions start with "GIF8"; an HTML error page sent with status 200
// never does, so it never takes the part's name.
bool StartsLikeGif(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char signature[4] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, signature, sizeof(signature), &read, nullptr);
    CloseHandle(file);
    return ok && read == sizeof(signature) && std::memcmp(signature, "GIF8", 4) == 0;
}

}  // namespace

bool FetchPartFile(const std::string& url, const std::string& path) {
    const std::string temporary = MakeDownloadTemporaryPath(path);
    if (temporary.size() >= MAX_PATH) {
        return false;
    }
    const bool fetched =
        URLDownloadToFileA(nullptr, url.c_str(), temporary.c_str(), 0, nullptr) == S_OK &&
        StartsLikeGif(temporary.c_str()) &&
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!fetched) {
        DeleteFileA(temporary.c_str());
    }
    return fetched;
}
