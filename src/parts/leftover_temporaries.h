// Download temporaries that a killed process left in the part cache.
#pragma once

#include <string>

// Deletes every download temporary in the type folders below cacheRoot and in
// the buckets of its "com" folder. Part files and anything else stay.
void DeleteLeftoverTemporaries(const std::string& cacheRoot);
