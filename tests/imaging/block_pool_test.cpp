#include "imaging/block_pool.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "imaging/stream_copy.h"

namespace {

using namespace kvimaging;

constexpr size_t kFrameBytes = 281312;  // a 472 x 298 frame

// A returned block serves the next request of its size class; sizes the pool does
// not keep go straight back; past the cap the size used longest ago goes first.
TEST(BlockPool, ReusesBlocksOfAClassWithinItsCap) {
    FreeIdleBlocks();
    void* const frame = TakeBlock(kFrameBytes);
    ReturnBlock(frame, kFrameBytes);
    void* const other = TakeBlock(kFrameBytes * 2);
    EXPECT_EQ(TakeBlock(kFrameBytes - 1000), frame);
    ReturnBlock(frame, kFrameBytes - 1000);
    ReturnBlock(TakeBlock(1000), 1000);
    ReturnBlock(TakeBlock(kMaxPooledBytes + 1), kMaxPooledBytes + 1);
    EXPECT_EQ(IdleBlockBytes(), 294912u);  // the frame's class
    std::vector<void*> big;
    for (size_t bytes = 0; bytes <= kIdleBytesCap; bytes += kMaxPooledBytes) {
        big.push_back(TakeBlock(kMaxPooledBytes));
    }
    for (void* block : big) {
        ReturnBlock(block, kMaxPooledBytes);
        EXPECT_LE(IdleBlockBytes(), kIdleBytesCap);
    }
    ReturnBlock(other, kFrameBytes * 2);
    EXPECT_LE(IdleBlockBytes(), kIdleBytesCap);
    const size_t idle = IdleBlockBytes();
    void* const again = TakeBlock(kFrameBytes);  // its class was dropped for the big ones
    EXPECT_EQ(IdleBlockBytes(), idle);
    EXPECT_EQ(TakeBlock(kFrameBytes * 2), other);
    ReturnBlock(again, kFrameBytes);
    ReturnBlock(other, kFrameBytes * 2);
    FreeIdleBlocks();
    EXPECT_EQ(IdleBlockBytes(), 0u);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(BlockPool, ReadsOfWaitingBlocksAndSlackAreReported) {
    auto* block = static_cast<volatile unsigned char*>(TakeBlock(kFrameBytes));
    EXPECT_DEATH(block[kFrameBytes + 8], "use-after-poison");
    ReturnBlock(const_cast<unsigned char*>(block), kFrameBytes);
    EXPECT_DEATH(block[100], "use-after-poison");
}
#endif

// Unaligned targets, and lengths short of and past the 64-byte steps.
TEST(StreamCopy, CopiesExactlyAtAnyAlignmentAndLength) {
    std::vector<unsigned char> source(400), target(420);
    std::iota(source.begin(), source.end(), 1);
    for (const auto& [offset, length] : {std::pair{0, 400}, {3, 0}, {5, 15}, {9, 200}, {16, 333}}) {
        std::fill(target.begin(), target.end(), 0);
        StreamCopy(target.data() + offset, source.data(), length);
        EXPECT_TRUE(std::equal(source.begin(), source.begin() + length, target.begin() + offset));
        EXPECT_EQ(target[offset + length], 0) << offset << " " << length;
    }
}

}  // namespace
