// The host's start-up and shut-down calls.
#pragma once

// Creates the part pool, the default avatars and the part download thread.
// 1 when the pool was created now, 0 when it existed already or could not be made.
int InitAvatarDll();

// Waits up to 3 s for animated avatars' loaders, stops the download thread, then frees the default
// avatars, the pool, the cache files and the anonymous pictures, in that order.
void DestroyAvatarDll();
