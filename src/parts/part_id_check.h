// Part ids and com ids come from callers and become file names and URL paths.
#pragma once

#include <string>

// True for a non-empty id of at most kMaxPartIdLength letters, digits and '_':
// nothing that could leave the cache folder or change a URL.
bool IsSafePartId(const std::string& id);

constexpr size_t kMaxPartIdLength = 64;
