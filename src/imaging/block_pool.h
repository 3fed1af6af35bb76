// A process-wide, bounded pool of large blocks (images, GIF work areas and file copies).
// A block that comes back is kept for the next request of its size class, so the
// pages it already has are written again instead of being faulted in, zeroed and
// returned to the system once per picture. Thread-safe: decoders run on loader
// threads. Blocks outside the pooled sizes go straight to the C allocator.
#pragma once

#include <cstddef>

namespace kvimaging {

// Blocks of these sizes are pooled.
constexpr size_t kMinPooledBytes = size_t{16} << 10;
constexpr size_t kMaxPooledBytes = size_t{16} << 20;
// At most this many bytes wait in the pool; a returned block beyond it pushes out
// the blocks of the size used longest ago, or is freed itself.
constexpr size_t kIdleBytesCap = sizeof(void*) >= 8 ? size_t{128} << 20 : size_t{32} << 20;

// A block of at least `bytes` (not cleared), or null when memory runs out.
void* TakeBlock(size_t bytes);
// Gives back a block from TakeBlock with the same `bytes`; null is ignored.
void ReturnBlock(void* block, size_t bytes);
// Frees every waiting block.
void FreeIdleBlocks();
// Bytes waiting in the pool.
size_t IdleBlockBytes();

}  // namespace kvimaging
