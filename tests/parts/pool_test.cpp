// The pool on its own: singleton life, paths, the map, pruning, decoding from disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "avatar_id/avtr_id.h"
#include "parts/avtr_download_thread.h"
#include "parts/avtr_part_pool.h"
#include "parts_fixture.h"
#include "platform/win32.h"

namespace parts_test {
namespace {

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

TEST_F(PoolTest, CacheFolderFollowsHomeElseTheDefaultImageFolder) {
    char cwd[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    EXPECT_EQ(CAvtrPartPool::Inst()->GetPrePath(false), m_home + "\\Avatar\\");
    EXPECT_EQ(CAvtrPartPool::Inst()->GetPrePath(true), std::string(cwd) + "\\common\\images\\");
    CAvtrPartPool::DestroyInstance();
    std::ofstream(m_root + "/registry.ini", std::ios::trunc) << "[Other]\n";
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    EXPECT_EQ(CAvtrPartPool::Inst()->GetPrePath(false), std::string(cwd) + "\\common\\images\\");
}

TEST_F(PoolTest, AddKeepsTheFirstPartOfAnId) {
    CAvtrPartPool* pool = CAvtrPartPool::Inst();
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
    std::vector<std::string> kept;
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
    const auto& kept = GetParam().kept;
    for (const auto& [id, count] : GetParam().parts) {
        EXPECT_EQ(pool->Get(id) != nullptr, std::count(kept.begin(), kept.end(), id) == 1) << id;
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

TEST_F(PoolTest, DamagedFileIsDeletedAndFetchedAgain) {
    CAvtrId id;
    id.Set("lcm001", false);
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
