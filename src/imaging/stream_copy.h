// A bulk copy whose stores go to memory without passing through the cache: for
// large stores that nothing reads soon, where a cached store would first read
// every line it writes and push the reader's working set out.
#pragma once

#include <cstddef>

namespace kvimaging {

// Copies like memcpy; the blocks must not overlap.
void StreamCopy(void* to, const void* from, size_t bytes);

}  // namespace kvimaging
