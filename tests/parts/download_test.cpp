// The download step and thread against a loopback server; tests/net covers the
// transfer faults themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "parts/servers.h"
#include "parts_fixture.h"
#include "platform/testing.h"

namespace parts_test {
namespace {

using DownloadTest = PartsTest;
using StopResult = CAvtrDownloadThread::StopResult;

bool RunStep(bool com, const std::string& fileName) {
    const CAvtrDnRequest request(com, fileName);
    return CAvtrPartPool::m_pAvtrDnThread->MakeJob()(&request);
}

TEST_F(DownloadTest, PartsComeFromTheirServerPathIntoTheirFolderOnce) {
    ServeGif(false, "lcm001.gif", MakePartGif(6, 4, 3, 7));
    for (int i = 0; i < 10; ++i) {
        Load("lcm001", false, true);
    }
    EXPECT_EQ(RequestsOnceQueueDrained(), 1);
    CAvtrPart* part = Pool()->Get("lcm001");
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->m_vecDelays, (std::vector<unsigned long>{7, 7, 7}));
    // Once cached, a pruned part is decoded again without the network.
    Pool()->AdjustAvtrPart();
    Load("lcm001", false, false);
    EXPECT_NE(Pool()->Get("lcm001"), nullptr);
    EXPECT_EQ(m_server.RequestCount("/avgif/lc/lcm001.gif"), 1);
    // Com images: upper case on the avatar server, into their bucket.
    ServeGif(true, "LCM002_HCM002.GIF");
    Load("lcm002_hcm002", true, false);
    EXPECT_NE(Pool()->Get("LCM002_HCM002"), nullptr);
    EXPECT_TRUE(std::filesystem::exists(CachedFile("com\\11", "LCM002_HCM002.GIF")));
}

// An error page sent with status 200 must not take the part's name, nor may
// what a stalled transfer left.
TEST_F(DownloadTest, FailedFetchLeavesNoFileAndIsTriedAgain) {
    ServeGif(false, "lcm001.gif", MakePartGif(40, 40, 4, 0));
    for (auto fault : {loopback::HttpFault::kHtmlErrorPage, loopback::HttpFault::kStallMidBody,
                       loopback::HttpFault::kNone}) {
        m_server.SetFault(ServerPath(false, "lcm001.gif"), fault);
        const bool fine = fault == loopback::HttpFault::kNone;
        EXPECT_EQ(RunStep(false, "lcm001.gif"), fine);
        EXPECT_EQ(FilesUnderRoot(), fine ? std::vector<std::string>{"home/Avatar/lc/lcm001.gif"}
                                         : std::vector<std::string>{});
    }
}

TEST_F(DownloadTest, HostileIdsAreNeitherFetchedNorWritten) {
    WriteFile(m_home + "/Avatar/victim.gif", "keep me");  // path tricks would delete it
    std::filesystem::create_directories(m_home + "/Avatar/lc");
    for (const std::string text :
         {"lc..\\..\\victim", "lc/../../victim", "lc..", ".lc", "lc:evil", "lc%2e%2e", "lc?x=1",
          "lc#frag", "lc x", "lc\x01", "lc\xc3\xa9"}) {
        for (bool com : {false, true}) {
            Load(text, com, false);
            Load(text, com, true);
            CAvtrId id = MakeId(text, com);
            Pool()->FileLoad(id);
            EXPECT_FALSE(RunStep(com, text + (com ? ".GIF" : ".gif"))) << text;
            CAvtrPartPool::m_pAvtrDnThread->AddRequest(com, text + ".gif");
        }
    }
    EXPECT_EQ(RequestsOnceQueueDrained(), 0);
    EXPECT_EQ(FilesUnderRoot(),
              (std::vector<std::string>{"home/Avatar/qq/qqm999.gif", "home/Avatar/victim.gif"}));
}

TEST_F(DownloadTest, ServerValuesThatWouldChangeTheUrlAreIgnored) {
    const std::pair<std::string, std::string> cases[] = {
        {"=127.0.0.1:8080", "127.0.0.1:8080"}, {":expand=p.example", "p.example"},
        {":unterminated=a-b.c:1", "a-b.c:1"},  {"=", kDefaultPartServer},
        {"=h:0", kDefaultPartServer},          {"=h:65536", kDefaultPartServer},
        {"=h:", kDefaultPartServer},           {"=:80", kDefaultPartServer},
        {"=h/x", kDefaultPartServer},          {"=u@h", kDefaultPartServer},
        {"=h?x", kDefaultPartServer},          {"=h x", kDefaultPartServer}};
    for (const auto& [value, host] : cases) {
        WriteRegistry("PartServer" + value + "\nAvatarServer" + value);
        EXPECT_EQ(PartServerHost(), host) << value;
        EXPECT_EQ(AvatarServerHost(), host == kDefaultPartServer ? kDefaultAvatarServer : host);
    }
}

TEST_F(DownloadTest, RunningOutOfMemoryIsReportedNotThrown) {
    CAvtrId id = MakeId("lcm001_hcm001", false);
    FailAllocations(true);
    const bool added = CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, "lcm001.gif");
    Pool()->RequestLoad(id, true);
    FailAllocations(false);
    EXPECT_FALSE(added);
    EXPECT_EQ(RequestsOnceQueueDrained(), 0);
}

TEST_F(DownloadTest, AnIdleThreadEndsWithinTheFirstWait) {
    CAvtrDownloadThread* thread = CAvtrPartPool::m_pAvtrDnThread;
    CAvtrPartPool::CreateDLThread();  // one thread per process
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, thread);
    EXPECT_EQ(thread->Stop(), StopResult::kEnded);
    EXPECT_EQ(thread->Stop(), StopResult::kNotRunning);
}

// A worker inside a silent download when the stop comes: the rest of its batch
// and the queue are dropped. One that ends within the further wait is waited
// for; one that hangs on is left behind, and the pool may go at once.
class SlowStopTest : public PartsTest,
                     public ::testing::WithParamInterface<std::pair<int, StopResult>> {};

TEST_P(SlowStopTest, DropsTheBatchAndTheQueue) {
    m_server.SetGlobalFault(loopback::HttpFault::kNeverAnswer);
    kvplatform::SetDownloadTimeouts(1000, GetParam().first);
    CAvtrPartPool::DestroyDLThread();
    CAvtrPartPool::CreateDLThread();
    CAvtrDownloadThread* thread = CAvtrPartPool::m_pAvtrDnThread;
    for (const char* name : {"lcm001.gif", "hcm001.gif", "fnm001.gif"}) {
        thread->AddRequest(false, name);  // before the first 30 ms poll: one batch
    }
    ASSERT_TRUE(WaitUntil([&] { return m_server.TotalRequestCount() == 1; }));
    thread->AddRequest(false, "pnm001.gif");
    EXPECT_EQ(thread->Stop(), GetParam().second);
    EXPECT_EQ(m_server.TotalRequestCount(), 1);
    EXPECT_EQ(CAvtrPartPool::DestroyInstance(), 1);
    m_server.Stop();  // releases a left-behind worker, which must not touch the freed pool
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
}

INSTANTIATE_TEST_SUITE_P(Stalls, SlowStopTest,
                         ::testing::Values(std::pair{6000, StopResult::kEndedLate},
                                           std::pair{20000, StopResult::kAbandoned}));

// Readers on other threads, pruning under the lock on this one, the worker
// storing parts meanwhile: for ThreadSanitizer.
TEST_F(DownloadTest, WorkerRacesReadersAndPruning) {
    std::vector<std::string> ids;
    for (int i = 100; i < 124; ++i) {
        ids.push_back("lcm" + std::to_string(i));
        ServeGif(false, ids.back() + ".gif", MakePartGif(3, 3, 2, 1));
    }
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    std::atomic<bool> stop{false};
    auto reader = [&] {
        while (!stop) {
            for (const std::string& id : ids) {
                pool->Lock();
                CAvtrPart* part = pool->Get(id);
                EXPECT_TRUE(!part || part->m_vecFrames.size() == 2u);
                pool->Unlock();
                CAvtrId one = MakeId(id, false);
                pool->FileLoad(one);
            }
        }
    };
    std::thread readers[] = {std::thread(reader), std::thread(reader)};
    for (int round = 0; round < 3; ++round) {
        for (const std::string& id : ids) {
            Load(id, false, true);
        }
        EXPECT_TRUE(WaitUntil([&] {
            return std::all_of(ids.begin(), ids.end(), [&](auto& id) { return pool->Get(id); });
        }));
        pool->AdjustAvtrPart();
    }
    stop = true;
    readers[0].join();
    readers[1].join();
    EXPECT_EQ(m_server.TotalRequestCount(), 24);
}

}  // namespace
}  // namespace parts_test
