// Naming rules: cache sub-folders, id validation, download temporaries.
#include <gtest/gtest.h>

#include "parts/avtr_part_pool.h"
#include "parts/download_temp_name.h"
#include "parts/part_id_check.h"

namespace {

struct FolderCase {
    bool com;
    const char* name;
    const char* folder;
};

class PartFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(PartFolderTest, FolderOfName) {
    EXPECT_EQ(CAvtrPartPool::GetPartFolder(GetParam().com, GetParam().name), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PartFolderTest,
    ::testing::Values(
        FolderCase{false, "lcm001.gif", "lc"},
        // Character sum 1826, 1826 mod 26 = 6.
        FolderCase{true, "LCM001_HCM001_FNM001A_PNM001", "com\\6"},
        // ".GIF" adds 260, a multiple of 26; ".gif" is dropped before summing.
        FolderCase{true, "LCM001_HCM001_FNM001A_PNM001.GIF", "com\\6"},
        FolderCase{true, "LCM001_HCM001_FNM001A_PNM001.gif", "com\\6"},
        FolderCase{true, "LCF001_HCF001_FNF001A_PNF001", "com\\4"},
        // "Z" is 90 = 3 * 26 + 12, "ZZ" 180 = 6 * 26 + 24: buckets are lower-case hex.
        FolderCase{true, "Z", "com\\c"}, FolderCase{true, "ZZ", "com\\18"}));

TEST(PartIdCheck, PlayerNameCharactersButNothingThatLeavesTheFolder) {
    for (const char* id : {"lcm001", "LCM001_HCM001_FNM001A_PNM001", "_", "kim-ji.won", "a.b-c."}) {
        EXPECT_TRUE(IsSafePartId(id)) << id;
    }
    for (const char* id : {"", ".", "..", ".x", "a..b", "lc/x", "lc\\x", "c:x", "a%2e", "a?b",
                           "a#b", "a b", "a\tb", "a\n", "a\x01", "a\x7f", "caf\xc3\xa9"}) {
        EXPECT_FALSE(IsSafePartId(id)) << id;
    }
    EXPECT_TRUE(IsSafePartId(std::string(kMaxPartIdLength, 'a')));
    EXPECT_FALSE(IsSafePartId(std::string(kMaxPartIdLength + 1, 'a')));
}

TEST(DownloadTemporaryName, MadeNamesAreRecognisedAndDistinct) {
    const std::string first = MakeDownloadTemporaryPath("C:\\cache\\lc\\lcm001.gif");
    const std::string second = MakeDownloadTemporaryPath("C:\\cache\\lc\\lcm001.gif");
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind("C:\\cache\\lc\\lcm001.gif.", 0), 0u);
    EXPECT_TRUE(IsDownloadTemporaryName(first.c_str()));
    EXPECT_TRUE(IsDownloadTemporaryName("x.KVDLTMP"));
    for (const char* name :
         {"lcm001.gif", "LCM001.GIF", "kvdltmp", ".kvdltmp", "x.kvdltmp.gif", "player_1.gif", ""}) {
        EXPECT_FALSE(IsDownloadTemporaryName(name)) << name;
    }
}

}  // namespace
