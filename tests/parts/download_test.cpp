// The download step and the download thread against a loopback server.
#include <gtest/gtest.h>

#include <filesystem>

#include "avatar_id/avtr_id.h"
#include "parts/avtr_dn_job.h"
#include "parts/avtr_download_thread.h"
#include "parts/avtr_part_pool.h"
#include "parts_fixture.h"
#include "platform/testing.h"

namespace parts_test {
namespace {

using DownloadTest = PartsTest;

bool RunStep(bool com, const std::string& fileName) {
    const CAvtrDnRequest request(com, fileName);
    return CAvtrPartPool::m_pAvtrDnThread->MakeJob()(&request);
}

TEST_F(DownloadTest, PartsComeFromTheirServerPathIntoTheirFolder) {
    CAvtrId layered;
    layered.Set("lcm001_hcm001", false);
    ServePart(false, "lcm001.gif", MakePartGif(4, 4, 2, 10));
    ServePart(false, "hcm001.gif", MakePartGif(4, 4, 2, 10));
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    pool->RequestLoad(layered, true);
    ASSERT_TRUE(WaitUntil([&] { return pool->Get("lcm001") && pool->Get("hcm001"); }));
    EXPECT_EQ(m_server.RequestCount("/avgif/lc/lcm001.gif"), 1);
    EXPECT_EQ(m_server.RequestCount("/avgif/hc/hcm001.gif"), 1);
    EXPECT_TRUE(std::filesystem::exists(CachedFile("hc", "hcm001.gif")));

    // Com images: upper case on the avatar server, into their bucket.
    ServePart(true, "LCF001_HCF001_FNF001A_PNF001.GIF", MakePartGif(6, 6, 1, 0));
    EXPECT_TRUE(RunStep(true, "LCF001_HCF001_FNF001A_PNF001.GIF"));
    EXPECT_EQ(m_server.RequestCount("/IMG_AVTR/LCF001_HCF001_FNF001A_PNF001.GIF"), 1);
    EXPECT_TRUE(std::filesystem::exists(CachedFile("com\\4", "LCF001_HCF001_FNF001A_PNF001.GIF")));
    CAvtrId com;
    com.Set("lcm002_hcm002", true);
    ServePart(true, "LCM002_HCM002.GIF", MakePartGif(6, 6, 1, 0));
    pool->RequestLoad(com, false);
    EXPECT_NE(pool->Get("LCM002_HCM002"), nullptr);
}

TEST_F(DownloadTest, TenQueuedRequestsFetchOnce) {
    ServePart(false, "hcm001.gif", MakePartGif(4, 4, 1, 0));
    ServePart(false, "fnm001.gif", MakePartGif(4, 4, 1, 0));
    for (int i = 0; i < 10; ++i) {
        CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, "hcm001.gif");
    }
    // The queue is first in, first out: once the last request is done, so are the ten.
    CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, "fnm001.gif");
    ASSERT_TRUE(WaitUntil([] { return CAvtrPartPool::Inst()->Get("fnm001") != nullptr; }));
    EXPECT_EQ(m_server.RequestCount("/avgif/hc/hcm001.gif"), 1);
}

TEST_F(DownloadTest, CachedFilesNeedNoNetworkAndDecodeEveryFrame) {
    WriteFile(CachedFile("lc", "lcm001.gif"), MakePartGif(6, 4, 3, 7));
    CAvtrId id;
    id.Set("lcm001", false);
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    pool->RequestLoad(id, false);
    CAvtrPart* part = pool->Get("lcm001");
    ASSERT_NE(part, nullptr);
    ASSERT_EQ(part->m_vecFrames.size(), 3u);
    EXPECT_EQ(part->m_vecDelays, (std::vector<unsigned long>{7, 7, 7}));
    EXPECT_EQ(part->m_vecFrames[0]->width, 6);
    EXPECT_EQ(part->m_vecFrames[0]->height, 4);
    pool->AdjustAvtrPart();
    pool->RequestLoad(id, true);
    ASSERT_TRUE(WaitUntil([&] { return pool->Get("lcm001") != nullptr; }));
    EXPECT_EQ(m_server.TotalRequestCount(), 0);
}

TEST_F(DownloadTest, UnreachableServerFailsWithoutAFile) {
    WriteRegistry(m_home, "127.0.0.1:" + std::to_string(loopback::HttpServer::UnusedPort()));
    CAvtrPartPool::DestroyDLThread();
    CAvtrPartPool::CreateDLThread();
    EXPECT_FALSE(RunStep(false, "lcm001.gif"));
    EXPECT_EQ(CAvtrPartPool::Inst()->Get("lcm001"), nullptr);
    EXPECT_EQ(FilesUnderRoot(), std::vector<std::string>{});
}

class ServerFaultTest : public PartsTest,
                        public ::testing::WithParamInterface<loopback::HttpFault> {};

TEST_P(ServerFaultTest, LeavesNoFileUnderThePartsName) {
    ServePart(false, "lcm001.gif", MakePartGif(40, 40, 4, 0));
    m_server.SetFault(ServerPath(false, "lcm001.gif"), GetParam());
    EXPECT_FALSE(RunStep(false, "lcm001.gif"));
    EXPECT_EQ(CAvtrPartPool::Inst()->Get("lcm001"), nullptr);
    EXPECT_EQ(FilesUnderRoot(), std::vector<std::string>{});

    // Service restored: the next request fetches it.
    m_server.SetFault(ServerPath(false, "lcm001.gif"), loopback::HttpFault::kNone);
    EXPECT_TRUE(RunStep(false, "lcm001.gif"));
    EXPECT_EQ(FilesUnderRoot(), std::vector<std::string>{"home/Avatar/lc/lcm001.gif"});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ServerFaultTest,
    ::testing::Values(loopback::HttpFault::kNotFound, loopback::HttpFault::kServerError,
                      loopback::HttpFault::kHtmlErrorPage, loopback::HttpFault::kCutShort,
                      loopback::HttpFault::kNeverAnswer, loopback::HttpFault::kStallMidBody));

TEST_F(DownloadTest, SlowTrickleStillArrivesWhole) {
    const std::string gif = MakePartGif(2, 2, 1, 0);
    ServePart(false, "lcm001.gif", gif);
    m_server.SetFault(ServerPath(false, "lcm001.gif"), loopback::HttpFault::kTrickle);
    m_server.SetTrickleInterval(std::chrono::milliseconds(1));
    EXPECT_TRUE(RunStep(false, "lcm001.gif"));
    EXPECT_EQ(std::filesystem::file_size(CachedFile("lc", "lcm001.gif")), gif.size());
}

TEST_F(DownloadTest, HostileIdsAreNeitherFetchedNorWritten) {
    // A file that path tricks would reach, decode, fail on and delete.
    std::filesystem::create_directories(m_home + "/Avatar/lc");
    WriteFile(m_home + "/Avatar/victim.gif", "keep me");
    const std::string hostile[] = {
        "lc..\\..\\victim", "lc/../../victim", "lc:evil", "lc%2e%2e", "lc?x=1", "lc#frag", "lc x",
        "lc\x01",           "lc\xc3\xa9",      ".."};
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    for (const std::string& text : hostile) {
        for (bool com : {false, true}) {
            CAvtrId id;
            id.Set(text, com);
            pool->RequestLoad(id, false);
            pool->RequestLoad(id, true);
            pool->FileLoad(id);
            EXPECT_FALSE(RunStep(com, text + (com ? ".GIF" : ".gif"))) << text;
        }
        CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, text + ".gif");
    }
    // A legitimate request after them shows that the queue has been worked through.
    ServePart(false, "lcm001.gif", MakePartGif(2, 2, 1, 0));
    CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, "lcm001.gif");
    ASSERT_TRUE(WaitUntil([&] { return pool->Get("lcm001") != nullptr; }));
    EXPECT_EQ(m_server.TotalRequestCount(), 1);
    EXPECT_EQ(FilesUnderRoot(),
              (std::vector<std::string>{"home/Avatar/lc/lcm001.gif", "home/Avatar/victim.gif"}));
}

TEST_F(DownloadTest, MakeFolderPathCreatesEveryLevel) {
    const std::string base = m_root + "\\a\\b\\c\\";
    MakeFolderPath(base.c_str());
    EXPECT_TRUE(std::filesystem::is_directory(m_root + "/a/b/c"));
    MakeFolderPath(base.c_str());  // exists: nothing happens
    MakeFolderPath((m_root + "\\a\\b\\d").c_str());
    EXPECT_TRUE(std::filesystem::is_directory(m_root + "/a/b/d"));
    MakeFolderPath((m_root + "\\" + std::string(300, 'x')).c_str());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_root),
                            std::filesystem::directory_iterator()),
              3);  // home, a, registry.ini
}

}  // namespace
}  // namespace parts_test
