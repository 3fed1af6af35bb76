#include "frame/dll_lifecycle.h"

#include "frame/avatar_cache_wipe.h"
#include "imaging/kv_aimage.h"
#include "layered/default_avatars.h"
#include "legacy/anonymous_avatar.h"
#include "parts/avtr_part_pool.h"

namespace {

void DestroyImage(CKvAImage*& image) {
    delete image;
    image = nullptr;
}

}  // namespace

int InitAvatarDll() {
    // Starting twice would leak the running download thread and the default avatars.
    if (CAvtrPartPool::Inst() != nullptr) {
        return 0;
    }
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
    CAvtrPartPool::DestroyDLThread();
    DestroyDefaultAvatar();
    CAvtrPartPool::DestroyInstance();
    ClearAvatarCache();
    DestroyImage(g_pAnonymousImage64);
    DestroyImage(g_pAnonymousImage102);
}
