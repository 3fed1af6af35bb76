// Player identifiers become part of a cache file name and of a URL path, so only
// those that can do neither harm are taken.
#pragma once

// The identifier field holds this many characters; a longer one is refused
// rather than cut, since a cut name would load another player's file.
constexpr int kMaxAvatarIdLength = 26;

// Printable ASCII without path separators, "..", drive or stream colons, URL
// escapes, queries or fragments, wildcards or characters Windows file names
// reject; 1 to kMaxAvatarIdLength characters.
bool IsSafeAvatarIdentifier(const char* id);
