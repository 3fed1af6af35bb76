// The loader steps of an animated avatar as plain functions of their inputs, so
// that a loader thread runs them without touching the avatar.
#pragma once

class cKvAnigifList;

// 1 when the cached file exists and is not empty.
int CheckSavedAvatarFile(const char* path);

// Fetches fileName from the avatar image server into folder.
int DownloadNewAvatar(const char* folder, const char* fileName);

// Loads the file into the player; a failure of any kind is a failed load.
bool LoadAvatarPlayer(cKvAnigifList& player, const char* path);
