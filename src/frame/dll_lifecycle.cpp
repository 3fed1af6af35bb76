#include "frame/dll_lifecycle.h"

#include "animated/ani_avatar_load.h"
#include "frame/avatar_cache_wipe.h"
#include "imaging/block_pool.h"
#include "imaging/kv_aimage.h"
#include "layered/default_avatars.h"
#include "legacy/anonymous_avatar.h"
#include "parts/avtr_part_pool.h"

namespace {

// Set by InitAvatarDll, cleared by DestroyAvatarDll. A pool alone does not
// count: a host may create it itself before starting the library.
bool g_bInitialised = false;

// Animated avatars' loaders outlive their avatars; the host unloads the library
// after shut-down, so a loader still running then would run unmapped code. As
// long as the download thread's first wait.
constexpr DWORD kLoaderWaitMs = 3000;

void DestroyImage(CKvAImage*& image) {
    delete image;
    image = nullptr;
}

}  // namespace

int InitAvatarDll() {
    // Starting twice would leak the running download thread and the default avatars.
    if (g_bInitialised) {
        return 0;
    }
    g_bInitialised = true;
    const int created = CAvtrPartPool::CreateInstance();
    InitDefaultAvatars();
    CAvtrPartPool::CreateDLThread();
    // Pictures made before start-up are released, and made again on next use.
    DestroyImage(g_pAnonymousImage64);
    DestroyImage(g_pAnonymousImage102);
    g_bAnonymousReady = 0;
    return created;
}

void DestroyAvatarDll() {
    g_bInitialised = false;
    WaitForAvatarLoaders(kLoaderWaitMs);
    CAvtrPartPool::DestroyDLThread();
    DestroyDefaultAvatar();
    CAvtrPartPool::DestroyInstance();
    ClearAvatarCache();
    DestroyImage(g_pAnonymousImage64);
    DestroyImage(g_pAnonymousImage102);
    // The stores that pictures gave back go to the system too.
    kvimaging::FreeIdleBlocks();
}
