// Stopping the download thread and racing it against readers of the pool.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "avatar_id/avtr_id.h"
#include "parts/avtr_download_thread.h"
#include "parts/avtr_part_pool.h"
#include "parts_fixture.h"
#include "platform/testing.h"

namespace parts_test {
namespace {

using ThreadLifeTest = PartsTest;

TEST_F(ThreadLifeTest, DestroyingWithQueuedRequestsDropsThem) {
    m_server.SetGlobalFault(loopback::HttpFault::kNeverAnswer);
    // Long enough that the worker is still inside its download when the wait ends.
    kvplatform::SetDownloadTimeouts(1000, 20000);
    CAvtrPartPool::DestroyDLThread();
    CAvtrPartPool::CreateDLThread();
    CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, "lcm001.gif");
    ASSERT_TRUE(WaitUntil([&] { return m_server.TotalRequestCount() == 1; }));
    for (int i = 0; i < 20; ++i) {
        CAvtrPartPool::m_pAvtrDnThread->AddRequest(false,
                                                   "hcm00" + std::to_string(i % 10) + ".gif");
    }
    // The hung worker is left behind; the pool goes at once.
    EXPECT_EQ(CAvtrPartPool::DestroyInstance(), 1);
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, nullptr);
    EXPECT_EQ(CAvtrPartPool::Inst(), nullptr);

    // Released, the worker must neither touch the freed pool nor fetch the dropped requests.
    m_server.SetGlobalFault(loopback::HttpFault::kNone);
    ServePart(false, "lcm001.gif", MakePartGif(2, 2, 1, 0));
    m_server.Stop();
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    EXPECT_EQ(m_server.TotalRequestCount(), 1);
}

TEST_F(ThreadLifeTest, StoppingAnIdleThreadIsPrompt) {
    CAvtrPartPool::DestroyDLThread();
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, nullptr);
    CAvtrPartPool::DestroyDLThread();
    CAvtrPartPool::CreateDLThread();
    CAvtrDownloadThread* thread = CAvtrPartPool::m_pAvtrDnThread;
    CAvtrPartPool::CreateDLThread();  // one thread per process
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, thread);
}

// Readers on other threads, pruning under the lock on this one, the worker
// storing parts meanwhile: run under ThreadSanitizer.
TEST_F(ThreadLifeTest, WorkerRacesReadersAndPruning) {
    const int kParts = 24;
    std::vector<std::string> ids;
    for (int i = 0; i < kParts; ++i) {
        ids.push_back("lcm" + std::to_string(100 + i));
        ServePart(false, ids.back() + ".gif", MakePartGif(3, 3, 2, 1));
    }
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    std::atomic<bool> stop{false};
    auto reader = [&] {
        while (!stop) {
            for (const std::string& id : ids) {
                pool->Lock();
                if (CAvtrPart* part = pool->Get(id)) {
                    EXPECT_EQ(part->m_vecFrames.size(), 2u);
                }
                pool->Unlock();
                CAvtrId one;
                one.Set(id, false);
                pool->FileLoad(one);
            }
        }
    };
    std::thread readerA(reader);
    std::thread readerB(reader);
    for (int round = 0; round < 3; ++round) {
        for (const std::string& id : ids) {
            CAvtrId one;
            one.Set(id, false);
            pool->RequestLoad(one, true);
        }
        ASSERT_TRUE(WaitUntil([&] {
            for (const std::string& id : ids) {
                if (!pool->Get(id)) {
                    return false;
                }
            }
            return true;
        }));
        pool->Lock();
        pool->AdjustAvtrPart();
        pool->Unlock();
    }
    stop = true;
    readerA.join();
    readerB.join();
    for (const std::string& id : ids) {
        EXPECT_EQ(m_server.RequestCount(ServerPath(false, id + ".gif")), 1) << id;
    }
}

}  // namespace
}  // namespace parts_test
