// The animated avatar's HTTP fetch through the internet client. The body goes to
// a temporary name beside the final one and is renamed into place only when it
// arrived whole with status 200, so a failed fetch leaves nothing under the
// final name and two fetches of one file each rename a complete copy.
#pragma once

// 1 when localPath holds the whole body of a 200 answer for url.
int DownloadAvatarFile(const char* localPath, const char* url);
