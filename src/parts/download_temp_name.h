// A part file is downloaded under a temporary name beside its final place and
// renamed into place only when complete. Cache wipes delete leftovers of
// interrupted downloads by this rule.
#pragma once

#include <string>

// Every temporary name ends with this suffix (compared without regard to case).
extern const char kDownloadTemporarySuffix[];

// True if fileName (a bare name or a path) is a download temporary.
bool IsDownloadTemporaryName(const char* fileName);

// A fresh temporary path for finalPath, unique within the process.
std::string MakeDownloadTemporaryPath(const std::string& finalPath);
