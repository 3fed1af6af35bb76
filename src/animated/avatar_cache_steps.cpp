#include "animated/avatar_cache_steps.h"

#include <cstdio>
#include <string>

#include "animated/avatar_download.h"
#include "base/avatar_log.h"
#include "gif/kv_anigif_list.h"
#include "parts/servers.h"
#include "platform/win32.h"

namespace {

constexpr size_t kUrlBuffer = 512;
constexpr size_t kPathBuffer = MAX_PATH + 1;

}  // namespace

int CheckSavedAvatarFile(const char* path) {
    if (_access_s(path, 0) != 0) {
        AvatarLogPrint("KVAVTR:: CKvAniAvatar.checkSavedAvatarFile() :: No Avatar File : %s \n",
                       path);
        return 0;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    return size != INVALID_FILE_SIZE && size > 0 ? 1 : 0;
}

int DownloadNewAvatar(const char* folder, const char* fileName) {
    char url[kUrlBuffer];
    char localPath[kPathBuffer];
    const std::string server = AvatarServerHost();
    if (std::snprintf(url, sizeof url, "http://%s/IMG_AVTR/%s", server.c_str(), fileName) >=
            static_cast<int>(sizeof url) ||
        std::snprintf(localPath, sizeof localPath, "%s\\%s", folder, fileName) >=
            static_cast<int>(sizeof localPath)) {
        return 0;
    }
    if (!PathIsDirectoryA(folder)) {
        CreateDirectoryA(folder, nullptr);
    }
    return DownloadAvatarFile(localPath, url);
}

bool LoadAvatarPlayer(cKvAnigifList& player, const char* path) {
    try {
        return player.Load(path, nullptr) != 0;
    } catch (...) {
        player.Destroy();
        return false;
    }
}
