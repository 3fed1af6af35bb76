// The pool on its own: singleton life, paths, the map, pruning, decoding from disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "avatar_id/avtr_id.h"
#include "part_gif.h"
#include "parts/avtr_download_thread.h"
#include "parts/avtr_part_pool.h"
#include "parts_fixture.h"
#include "platform/win32.h"

namespace parts_test {
namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

CAvtrPart* PartWithCount(int count) {
    auto* part = new CAvtrPart;
    part->m_nUseCount = count;
    return part;
}

using PoolTest = PartsTest;

TEST_F(PoolTest, SingletonLife) {
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    ASSERT_NE(pool, nullptr);
    EXPECT_EQ(CAvtrPartPool::CreateInstance(), 0);
    EXPECT_EQ(CAvtrPartPool::Inst(), pool);
    EXPECT_EQ(CAvtrPartPool::DestroyInstance(), 1);
    EXPECT_EQ(CAvtrPartPool::Inst(), nullptr);
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, nullptr);
    EXPECT_EQ(CAvtrPartPool::DestroyInstance(), 0);
}

TEST_F(PoolTest, PathsFollowHomeAndCurrentDirectory) {
    char cwd[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    EXPECT_EQ(pool->GetPrePath(false), m_home + "\\Avatar\\");
    EXPECT_EQ(pool->GetPrePath(true), std::string(cwd) + "\\common\\images\\");
    pool->SetPrePath("elsewhere\\");
    EXPECT_EQ(pool->GetPrePath(false), "elsewhere\\");

    // Without the portal key the cache falls back to the default image folder.
    CAvtrPartPool::DestroyInstance();
    std::ofstream(m_root + "/registry.ini", std::ios::trunc) << "[Other]\n";
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    EXPECT_EQ(CAvtrPartPool::Inst()->GetPrePath(false), std::string(cwd) + "\\common\\images\\");
}

TEST_F(PoolTest, AddKeepsTheFirstPartOfAnId) {
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    EXPECT_EQ(pool->Get("lcm001"), nullptr);
    CAvtrPart* first = PartWithCount(1);
    pool->Add({"lcm001", first});
    pool->Add({"lcm001", PartWithCount(2)});  // destroyed by the pool
    pool->Add({"lcm001", first});             // the stored part itself: still stored
    EXPECT_EQ(pool->Get("lcm001"), first);
    EXPECT_EQ(pool->Get("lcm001")->m_nUseCount, 1);
}

struct AdjustCase {
    const char* name;
    std::vector<std::pair<const char*, int>> parts;  // id and use count, in key order
    std::vector<const char*> kept;
};

class AdjustTest : public PartsTest, public ::testing::WithParamInterface<AdjustCase> {};

TEST_P(AdjustTest, KeepsOnlyPartsUsedMoreThanTenTimes) {
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    for (const auto& [id, count] : GetParam().parts) {
        pool->Add({id, PartWithCount(count)});
    }
    pool->Lock();  // re-entrant: AdjustAvtrPart takes it again
    pool->AdjustAvtrPart();
    pool->Unlock();
    for (const auto& [id, count] : GetParam().parts) {
        const bool kept = std::find_if(GetParam().kept.begin(), GetParam().kept.end(),
                                       [&](const char* k) { return std::string(k) == id; }) !=
                          GetParam().kept.end();
        EXPECT_EQ(pool->Get(id) != nullptr, kept) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, AdjustTest,
    ::testing::Values(
        AdjustCase{"Mixed", {{"a", 0}, {"b", 10}, {"c", 11}, {"d", -1}}, {"c"}},
        AdjustCase{"LastRemoved", {{"a", 11}, {"b", 12}, {"c", 3}}, {"a", "b"}},
        AdjustCase{"NeighboursRemoved", {{"a", 20}, {"b", 0}, {"c", 5}, {"d", 11}}, {"a", "d"}},
        AdjustCase{"AllRemoved", {{"a", 0}, {"b", 10}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PoolTest, FileLoadDecodesEveryFrame) {
    const std::string path = CachedFile("lc", "lcm001.gif");
    WriteFile(path, MakePartGif(6, 4, 3, 7));
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    pool->FileLoad("lcm001", pool->GetPrePath(false) + "lc\\lcm001.gif");
    CAvtrPart* part = pool->Get("lcm001");
    ASSERT_NE(part, nullptr);
    ASSERT_EQ(part->m_vecFrames.size(), 3u);
    EXPECT_EQ(part->m_vecDelays, (std::vector<unsigned long>{7, 7, 7}));
    EXPECT_EQ(part->m_vecFrames[0]->width, 6);
    EXPECT_EQ(part->m_vecFrames[0]->height, 4);
    EXPECT_EQ(part->m_nUseCount, 0);
}

TEST_F(PoolTest, DamagedFileIsDeletedAndFetchedAgain) {
    CAvtrId id;
    id.Set("lcm001", false);
    ASSERT_EQ(id.IdVec(), std::vector<std::string>{"lcm001"});
    const std::string path = CachedFile("lc", "lcm001.gif");
    WriteFile(path, "GIF89a this is not a picture");
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    pool->FileLoad(id);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(pool->Get("lcm001"), nullptr);

    ServePart(false, "lcm001.gif", MakePartGif(4, 4, 1, 0));
    pool->RequestLoad(id, true);
    ASSERT_TRUE(WaitUntil([&] { return pool->Get("lcm001") != nullptr; }));
    EXPECT_EQ(m_server.RequestCount("/avgif/lc/lcm001.gif"), 1);
}

TEST_F(PoolTest, DefaultImageComesFromTheDefaultFolderOnly) {
    CAvtrId id;
    id.Set("LCM001_HCM001_FNM001A_PNM001", true);
    ASSERT_TRUE(id.IsDefault());
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
    pool->GetPrePath(true) = m_root + "\\images\\";

    // Missing image: nothing stored, nothing queued or fetched.
    pool->RequestLoad(id, true);
    pool->RequestLoad(id, false);
    EXPECT_EQ(pool->Get(id.IdVec()[0]), nullptr);

    WriteFile(m_root + "/images/LCM001_HCM001_FNM001A_PNM001.gif", MakePartGif(3, 3, 1, 0));
    pool->RequestLoad(id, false);
    EXPECT_NE(pool->Get(id.IdVec()[0]), nullptr);
    CAvtrPartPool::DestroyDLThread();  // every queued request has run or gone
    EXPECT_EQ(m_server.TotalRequestCount(), 0);
}

}  // namespace
}  // namespace parts_test
