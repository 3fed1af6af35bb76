// Part ids and com ids come from callers and become file names and URL paths.
#pragma once

#include <string>

// True for a non-empty id of at most kMaxPartIdLength letters, digits, '_', '-'
// and '.', neither starting with '.' nor holding "..": nothing that could leave
// the cache folder or change a URL.
bool IsSafePartId(const std::string& id);

// With its extension and a download temporary's suffix the name stays well
// inside the 255 characters a file name may have.
constexpr size_t kMaxPartIdLength = 200;
