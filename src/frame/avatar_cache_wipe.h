// The shut-down wipe of the avatar cache folder ("Avatar" below the portal home).
#pragma once

// Deletes the animated avatars' cache files and unfinished downloads directly in the
// cache folder (at most 100 entries, "." and ".." among them), then empties and
// removes up to two numbered sub-folders ("0" to "19").
void ClearAvatarCache();

// Deletes the files of a folder, at most 100 entries of its listing ("." and ".."
// count but stay). 1 when the folder could be listed and its full path resolved.
int DeleteFolderFiles(const char* folder);
