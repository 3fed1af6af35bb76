// Names of the animated avatars' cache files, which lie directly in the cache folder:
// A{W,G,C}{F,H}{A,S}_<id>.GIF and B{B,S}_<id>.BMP.
#pragma once

// Whether a file name (without folder) is one of those names; letters compare
// without regard to case, as the file system does.
bool IsAnimatedAvatarFileName(const char* name);
