// Names of the animated avatars' cache files, which lie directly in the cache folder:
// A{W,G,C}{F,H}{A,S}_<id>.GIF and B{B,S}_<id>.BMP.
#pragma once

#include <cstddef>

// Display choices that pick the letters of a name.
enum AvatarNameFormat { kAvatarNameGif = 1, kAvatarNameBmp = 2 };

// Writes the name for the choices into dst (capacity bytes with the terminator);
// 0, with dst empty, when a choice has no letter or the name does not fit.
int BuildAvatarFileName(char* dst, size_t capacity, const char* id, int format, int kind, int size,
                        int variant);

// Whether a file name (without folder) is one of those names; letters compare
// without regard to case, as the file system does.
bool IsAnimatedAvatarFileName(const char* name);

// What the library itself leaves in the cache folder, beside the legacy sheets:
// animated avatar files and unfinished download temporaries.
bool IsAnimatedCacheFile(const char* name);
