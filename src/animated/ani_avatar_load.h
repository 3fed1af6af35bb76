// The state an animated avatar shares with its loader thread. The thread holds
// its own reference and works on copies of the names; it reaches the avatar only
// under the mutex and only while owner is set. Destroy and a new Create clear
// owner first, so a stale loader finishes its fetch and then does nothing.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/win32.h"

class CKvAniAvatar;

struct AniAvatarLoad {
    AniAvatarLoad(CKvAniAvatar* avatar, std::string cacheFolder, std::string file,
                  std::string cachePath, LPARAM notificationValue);

    // Starts the detached loader thread; false if it could not be started.
    static bool Start(const std::shared_ptr<AniAvatarLoad>& load);
    // Check, download if needed, load, hand over.
    void Run();
    bool IsStale();

    std::mutex mutex;
    CKvAniAvatar* owner;  // guarded by mutex
    const std::string folder;
    const std::string fileName;
    const std::string path;
    const LPARAM notification;
};

// Waits until no loader thread runs; false if some still run after timeoutMs.
bool WaitForAvatarLoaders(DWORD timeoutMs);
