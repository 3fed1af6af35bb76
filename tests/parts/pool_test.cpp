// The pool on its own: names, life, the map, pruning, decoding, RequestLoad.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "parts/part_id_check.h"
#include "parts_fixture.h"

namespace parts_test {
namespace {

CAvtrPart* PartWithCount(int count) {
    auto* part = new CAvtrPart;
    part->m_nUseCount = count;
    return part;
}

TEST(PartNames, FolderAndIdRules) {
    const struct {
        bool com;
        const char* name;
        const char* folder;
    } folders[] = {{false, "lcm001.gif", "lc"},
                   {true, "LCM001_HCM001_FNM001A_PNM001", "com\\6"},  // sum 1826
                   // ".GIF" adds 260, a multiple of 26; ".gif" is dropped before summing.
                   {true, "LCM001_HCM001_FNM001A_PNM001.GIF", "com\\6"},
                   {true, "LCM001_HCM001_FNM001A_PNM001.gif", "com\\6"},
                   {true, "LCF001_HCF001_FNF001A_PNF001", "com\\4"},
                   {true, "ZZ", "com\\18"}};  // 180 = 6 * 26 + 24: lower-case hex
    for (const auto& c : folders) {
        EXPECT_EQ(CAvtrPartPool::GetPartFolder(c.com, c.name), c.folder) << c.name;
    }
    for (const char* id : {"LCM001_HCM001_FNM001A_PNM001", "_", "kim-ji.won", "a.b-c."}) {
        EXPECT_TRUE(IsSafePartId(id)) << id;
    }
    for (const char* id : {"", ".", "..", ".x", "a..b", "lc/x", "lc\\x", "c:x", "a%2e", "a?b",
                           "a#b", "a b", "a\tb", "a\x01", "a\x7f", "caf\xc3\xa9"}) {
        EXPECT_FALSE(IsSafePartId(id)) << id;
    }
    EXPECT_TRUE(IsSafePartId(std::string(kMaxPartIdLength, 'a')));
    EXPECT_FALSE(IsSafePartId(std::string(kMaxPartIdLength + 1, 'a')));
}

using PoolTest = PartsTest;

TEST_F(PoolTest, SingletonLifeAndCacheFolder) {
    EXPECT_EQ(CAvtrPartPool::CreateInstance(), 0);
    char cwd[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, cwd), 0u);
    const std::string imageFolder = std::string(cwd) + "\\common\\images\\";
    EXPECT_EQ(Pool()->GetPrePath(false), m_home + "\\Avatar\\");
    EXPECT_EQ(Pool()->GetPrePath(true), imageFolder);
    EXPECT_EQ(CAvtrPartPool::DestroyInstance(), 1);
    EXPECT_EQ(CAvtrPartPool::m_pAvtrDnThread, nullptr);
    EXPECT_EQ(CAvtrPartPool::DestroyInstance(), 0);
    // Without a home directory the parts are cached in the default image folder.
    std::ofstream(m_root + "/registry.ini", std::ios::trunc) << "[Other]\n";
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    EXPECT_EQ(Pool()->GetPrePath(false), imageFolder);
}

TEST_F(PoolTest, StartingRemovesLeftoverTemporariesFromPartFolders) {
    CAvtrPartPool::DestroyInstance();
    const std::vector<std::string> kept = {"home/Avatar/com/6/X.GIF", "home/Avatar/lc/lcm001.gif",
                                           "home/Avatar/x.gif.1.kvdltmp"};
    for (const std::string& file : kept) {
        WriteFile(m_root + "/" + file, "GIF89a");
    }
    WriteFile(CachedFile("lc", "lcm001.gif.0badf00d1.kvdltmp"), "GIF8");
    WriteFile(CachedFile("com\\6", "X.GIF.12.KVDLTMP"), "GIF8");
    ASSERT_EQ(CAvtrPartPool::CreateInstance(), 1);
    EXPECT_EQ(FilesUnderRoot(), kept);
}

TEST_F(PoolTest, AddKeepsTheFirstPartOfAnId) {
    CAvtrPart* first = PartWithCount(1);
    Pool()->Add({"lcm001", first});
    Pool()->Add({"lcm001", PartWithCount(2)});  // destroyed by the pool
    Pool()->Add({"lcm001", first});             // the stored part itself: still stored
    EXPECT_EQ(Pool()->Get("lcm001"), first);
}

TEST_F(PoolTest, AdjustKeepsOnlyPartsUsedMoreThanTenTimes) {
    const struct {
        std::vector<std::pair<const char*, int>> parts;  // id and use count, in key order
        std::vector<std::string> kept;
    } cases[] = {{{{"a", 0}, {"b", 10}, {"c", 11}, {"d", -1}}, {"c"}},
                 {{{"a", 11}, {"b", 12}, {"c", 3}}, {"a", "b"}},             // last removed
                 {{{"a", 20}, {"b", 0}, {"c", 5}, {"d", 11}}, {"a", "d"}}};  // neighbours
    std::string prefix;  // keeps the cases apart in one pool
    for (const auto& c : cases) {
        prefix += "x";
        for (const auto& [id, count] : c.parts) {
            Pool()->Add({prefix + id, PartWithCount(count)});
        }
        Pool()->Lock();  // re-entrant: AdjustAvtrPart takes it again
        Pool()->AdjustAvtrPart();
        Pool()->Unlock();
        for (const auto& [id, count] : c.parts) {
            const bool kept = std::count(c.kept.begin(), c.kept.end(), id) == 1;
            EXPECT_EQ(Pool()->Get(prefix + id) != nullptr, kept) << prefix + id;
        }
    }
}

TEST_F(PoolTest, DamagedFileIsDeletedAndFetchedAgain) {
    CAvtrId id = MakeId("lcm001", false);
    const std::string path = CachedFile("lc", "lcm001.gif");
    WriteFile(path, "GIF89a this is not a picture");
    Pool()->FileLoad(id);
    EXPECT_FALSE(std::filesystem::exists(path));
    ServeGif(false, "lcm001.gif");
    Pool()->RequestLoad(id, true);
    EXPECT_EQ(RequestsOnceQueueDrained(), 1);
    EXPECT_NE(Pool()->Get("lcm001"), nullptr);
}

TEST_F(PoolTest, DefaultImageComesFromTheDefaultFolderOnly) {
    CAvtrId id = MakeId("LCM001_HCM001_FNM001A_PNM001", true);
    ASSERT_TRUE(id.IsDefault());
    Pool()->GetPrePath(true) = m_root + "\\images\\";
    ServeGif(true, "LCM001_HCM001_FNM001A_PNM001.GIF");
    Pool()->RequestLoad(id, true);
    Pool()->RequestLoad(id, false);
    EXPECT_EQ(RequestsOnceQueueDrained(), 0);
    EXPECT_EQ(Pool()->Get(id.IdVec()[0]), nullptr);
    WriteFile(m_root + "/images/LCM001_HCM001_FNM001A_PNM001.gif", MakePartGif(3, 3, 1, 0));
    Pool()->RequestLoad(id, true);
    EXPECT_NE(Pool()->Get(id.IdVec()[0]), nullptr);
}

// The first part's file is on disk, the second part is in the pool: the first is
// queued, then decoded on this thread when the walk reaches the second, and the
// queued request later finds nothing to do.
TEST_F(PoolTest, MixedRequestDecodesOnTheCallersThread) {
    m_server.SetFault(ServerPath(false, "bkm001.gif"), loopback::HttpFault::kNeverAnswer);
    CAvtrPartPool::m_pAvtrDnThread->AddRequest(false, "bkm001.gif");  // keeps the worker busy
    ASSERT_TRUE(WaitUntil([&] { return m_server.TotalRequestCount() == 1; }));
    WriteFile(CachedFile("lc", "lcm001.gif"), MakePartGif(2, 2, 1, 0));
    Pool()->Add({"hcm001", PartWithCount(0)});
    Load("lcm001_hcm001", false, true);
    CAvtrPart* decoded = Pool()->Get("lcm001");
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(RequestsOnceQueueDrained(), 1);  // the blocked one only
    EXPECT_EQ(Pool()->Get("lcm001"), decoded);
    EXPECT_TRUE(std::filesystem::exists(CachedFile("lc", "lcm001.gif")));
}

}  // namespace
}  // namespace parts_test
