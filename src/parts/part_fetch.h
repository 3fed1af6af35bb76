// Fetching one part file into the cache without ever exposing a partial or
// error answer under the part's name.
#pragma once

#include <string>

// Downloads url to a temporary beside path and renames it over path only when
// the transfer succeeded and the body starts like a GIF. On failure the
// temporary is gone and whatever was at path stays.
bool FetchPartFile(const std::string& url, const std::string& path);
