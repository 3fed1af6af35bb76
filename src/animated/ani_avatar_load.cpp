#include "animated/ani_avatar_load.h"

#include <chrono>
#include <condition_variable>

#include "animated/avatar_cache_steps.h"
#include "animated/kv_ani_avatar.h"
#include "gif/kv_anigif_list.h"

namespace {

struct LoaderCount {
    std::mutex mutex;
    std::condition_variable idle;
    int running = 0;
};

LoaderCount& Loaders() {
    static auto* count = new LoaderCount;  // detached loaders may outlive static destructors
    return *count;
}

void AddLoader(int delta) {
    LoaderCount& loaders = Loaders();
    std::lock_guard lock(loaders.mutex);
    loaders.running += delta;
    if (loaders.running == 0) {
        loaders.idle.notify_all();
    }
}

DWORD WINAPI LoaderThread(LPVOID parameter) {
    {
        std::unique_ptr<std::shared_ptr<AniAvatarLoad>> load(
            static_cast<std::shared_ptr<AniAvatarLoad>*>(parameter));
        (*load)->Run();
    }
    AddLoader(-1);
    return 0;
}

}  // namespace

AniAvatarLoad::AniAvatarLoad(CKvAniAvatar* avatar, std::string cacheFolder, std::string file,
                             std::string cachePath, LPARAM notificationValue)
    : owner(avatar),
      folder(std::move(cacheFolder)),
      fileName(std::move(file)),
      path(std::move(cachePath)),
      notification(notificationValue) {}

bool AniAvatarLoad::Start(const std::shared_ptr<AniAvatarLoad>& load) {
    auto* parameter = new std::shared_ptr<AniAvatarLoad>(load);
    AddLoader(1);
    HANDLE thread = CreateThread(nullptr, 0, LoaderThread, parameter, 0, nullptr);
    if (thread == nullptr) {
        delete parameter;
        AddLoader(-1);
        return false;
    }
    CloseHandle(thread);
    return true;
}

bool AniAvatarLoad::IsStale() {
    std::lock_guard lock(mutex);
    return owner == nullptr;
}

void AniAvatarLoad::Run() {
    if (IsStale()) {
        return;
    }
    if (!CheckSavedAvatarFile(path.c_str()) &&
        (IsStale() || !DownloadNewAvatar(folder.c_str(), fileName.c_str()))) {
        return;
    }
    if (IsStale()) {
        return;
    }
    cKvAnigifList player;
    const bool loaded = LoadAvatarPlayer(player, path.c_str());
    std::lock_guard lock(mutex);
    if (owner != nullptr) {
        owner->FinishLoad(loaded, player, notification, path.c_str());
        owner = nullptr;
    }
}

bool WaitForAvatarLoaders(DWORD timeoutMs) {
    LoaderCount& loaders = Loaders();
    std::unique_lock lock(loaders.mutex);
    return loaders.idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return loaders.running == 0; });
}
