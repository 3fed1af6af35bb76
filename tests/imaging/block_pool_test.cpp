#include "imaging/block_pool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "imaging/stream_copy.h"

namespace {

using kvimaging::IdleBlockBytes;
using kvimaging::ReturnBlock;
using kvimaging::TakeBlock;

constexpr size_t kFrameBytes = 281312;  // a 472 x 298 frame

// A returned block serves the next request of its size class; sizes the pool does not
// keep go straight back.
TEST(BlockPool, ReusesBlocksOfTheSameClassOnly) {
    kvimaging::FreeIdleBlocks();
    void* const frame = TakeBlock(kFrameBytes);
    ReturnBlock(frame, kFrameBytes);
    EXPECT_GE(IdleBlockBytes(), kFrameBytes);
    void* const other = TakeBlock(kFrameBytes * 2);
    EXPECT_NE(other, frame);
    EXPECT_EQ(TakeBlock(kFrameBytes - 1000), frame);
    ReturnBlock(other, kFrameBytes * 2);
    ReturnBlock(frame, kFrameBytes - 1000);
    const size_t idle = IdleBlockBytes();
    ReturnBlock(TakeBlock(1000), 1000);
    ReturnBlock(TakeBlock(kvimaging::kMaxPooledBytes + 1), kvimaging::kMaxPooledBytes + 1);
    EXPECT_EQ(IdleBlockBytes(), idle);
    kvimaging::FreeIdleBlocks();
    EXPECT_EQ(IdleBlockBytes(), 0u);
}

#if defined(__SANITIZE_ADDRESS__)
// A waiting block, and the slack of a taken one, still count as unallocated.
TEST(BlockPool, ReadsOfWaitingBlocksAreReported) {
    auto* block = static_cast<volatile unsigned char*>(TakeBlock(kFrameBytes));
    EXPECT_DEATH(block[kFrameBytes + 8], "use-after-poison");
    ReturnBlock(const_cast<unsigned char*>(block), kFrameBytes);
    EXPECT_DEATH(block[100], "use-after-poison");
}
#endif

// Past the cap the size used longest ago goes first; the newest size stays.
TEST(BlockPool, StaysWithinItsCapDroppingTheOldestSize) {
    kvimaging::FreeIdleBlocks();
    const size_t big = kvimaging::kMaxPooledBytes;
    std::vector<void*> blocks;
    for (size_t bytes = 0; bytes <= kvimaging::kIdleBytesCap; bytes += big) {
        blocks.push_back(TakeBlock(big));
    }
    for (void* block : blocks) {
        ReturnBlock(block, big);
        EXPECT_LE(IdleBlockBytes(), kvimaging::kIdleBytesCap);
    }
    void* const frame = TakeBlock(kFrameBytes);
    ReturnBlock(frame, kFrameBytes);
    EXPECT_LE(IdleBlockBytes(), kvimaging::kIdleBytesCap);
    EXPECT_EQ(TakeBlock(kFrameBytes), frame);
    ReturnBlock(frame, kFrameBytes);
    kvimaging::FreeIdleBlocks();
}

// Threads taking, filling, checking and returning blocks of shared classes each see
// only their own bytes.
TEST(BlockPool, ThreadsNeverShareABlock) {
    std::vector<std::thread> threads;
    std::vector<int> faults(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &faults] {
            for (int round = 0; round < 200; ++round) {
                const size_t bytes = kvimaging::kMinPooledBytes << (round % 3);
                auto* block = static_cast<unsigned char*>(TakeBlock(bytes));
                std::memset(block, t, bytes);
                std::this_thread::yield();
                faults[t] += block[0] != t || block[bytes - 1] != t;
                ReturnBlock(block, bytes);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(faults, std::vector<int>(4, 0));
}

// Every alignment of the target and every length around the 64-byte steps.
TEST(StreamCopy, CopiesExactlyAtAnyAlignmentAndLength) {
    std::vector<unsigned char> source(400), target(420);
    for (size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<unsigned char>(i * 7 + 1);
    }
    for (size_t offset = 0; offset < 17; ++offset) {
        for (size_t length = 0; length <= source.size(); length += 13) {
            std::fill(target.begin(), target.end(), 0);
            kvimaging::StreamCopy(target.data() + offset, source.data(), length);
            ASSERT_EQ(0, std::memcmp(target.data() + offset, source.data(), length));
            ASSERT_EQ(target[offset + length], 0) << offset << " " << length;
        }
    }
}

}  // namespace
