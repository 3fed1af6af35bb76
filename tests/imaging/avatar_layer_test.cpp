#include "imaging/avatar_layer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image_test_util.h"
#include "platform/testing.h"
#include "support/bmp_builder.h"

namespace {

using kvtest::PixelAt;

struct PathCase {
    const char* path;
    int number;
    int result;
    const char* expect;  // compared after path translation
};

const std::string kTooLong = "/" + std::string(250, 'a') + "/MRH.avt";

class SubSheetPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(SubSheetPathTest, NumberGoesBetweenTitleAndExtension) {
    const PathCase c = GetParam();
    char out[260];
    ASSERT_EQ(MakeSubSheetPath(c.path, c.number, out), c.result);
    EXPECT_EQ(kvplatform::TranslatePath(out), kvplatform::TranslatePath(c.expect));
}

INSTANTIATE_TEST_SUITE_P(Paths, SubSheetPathTest,
                         testing::Values(PathCase{"C:\\a\\b\\MRH.avt", 1, 1, "\\a\\b\\MRH0001.avt"},
                                         PathCase{"/tmp/x/MRH.avt", 1, 1, "/tmp/x/MRH0001.avt"},
                                         PathCase{"MRH.avt", 12, 1, "MRH0012.avt"},
                                         PathCase{".\\Avatar\\x.y.avt", 999, 1,
                                                  ".\\Avatar\\x.y0999.avt"},
                                         PathCase{"C:\\a\\MRH.avt", 1000, 0, ""},
                                         // would not fit the 260-character buffer
                                         PathCase{kTooLong.c_str(), 1, 0, ""}));

// Sheets whose tile t of sheet s is filled with red level 8 * (4 * s + t + 1).
class AvatarLayerTest : public testing::Test {
protected:
    static uint16_t TilePixel(int sheet, int tile) {
        return static_cast<uint16_t>((4 * sheet + tile + 1) << 10);
    }

    static void WriteSheet(const std::string& path, int sheet, int tiles) {
        kvtest::BmpBuilder bmp(2 * tiles, 1, 24);
        for (int x = 0; x < 2 * tiles; ++x) {
            bmp.Pixel(x, 0, static_cast<uint32_t>(8 * (4 * sheet + x / 2 + 1)) << 16);
        }
        ASSERT_TRUE(kvtest::WriteBytes(path, bmp.Bytes()));
    }

    void SetUp() override {
        std::snprintf(m_layer.m_szPath, sizeof m_layer.m_szPath, "%s/MRH.avt", m_folder.c_str());
        CKvAImage& main = m_layer.m_Sheet.m_Image;
        ASSERT_TRUE(main.Create(8, 1));
        for (int x = 0; x < 8; ++x) {
            kvtest::SetPixel(main, x, 0, TilePixel(0, x / 2));
        }
        main.SetTileNum(4);
        ASSERT_TRUE(m_dest.Create(2, 1, 0xFFFFFFFF));
    }

    // The tile pixel that DrawFrame left, or 0 when it drew nothing.
    uint16_t Drawn(int frame, int& result) {
        kvtest::Paint(m_dest, 0);
        result = m_layer.DrawFrame(frame, m_dest);
        return PixelAt(m_dest, 1, 0);
    }

    std::string m_folder = kvtest::MakeTempFolder();
    CAvatarLayer m_layer;
    CKvAImage m_dest;
};

TEST_F(AvatarLayerTest, FramesRunThroughTheMainSheetThenEachSubSheet) {
    WriteSheet(m_folder + "/MRH0001.avt", 1, 3);
    WriteSheet(m_folder + "/MRH0002.avt", 2, 1);
    const int tileNums[2] = {3, 1};
    ASSERT_EQ(m_layer.LoadSubSheets(2, tileNums), 1);
    EXPECT_EQ(m_layer.m_pSubSheets[0].m_Image.GetTransparentColor(), 0x00FF0000ul);
    const struct {
        int frame, sheet, tile;
    } cases[] = {{0, 0, 0}, {3, 0, 3}, {4, 1, 0}, {5, 1, 1}, {6, 1, 2}, {7, 2, 0}};
    int result = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(Drawn(c.frame, result), TilePixel(c.sheet, c.tile)) << c.frame;
        EXPECT_EQ(result, 1);
    }
    EXPECT_EQ(Drawn(8, result), 0);
    EXPECT_EQ(result, 0);
}

TEST_F(AvatarLayerTest, OneMissingSubSheetDropsThemAll) {
    WriteSheet(m_folder + "/MRH0001.avt", 1, 3);
    const int tileNums[2] = {3, 1};
    EXPECT_EQ(m_layer.LoadSubSheets(2, tileNums), 0);
    EXPECT_EQ(m_layer.m_nSubSheets, 0);
    EXPECT_EQ(m_layer.m_pSubSheets, nullptr);
    int result = 0;
    EXPECT_EQ(Drawn(3, result), TilePixel(0, 3));
    Drawn(4, result);
    EXPECT_EQ(result, 0);
}

TEST_F(AvatarLayerTest, SubSheetWithoutAPathStaysEmptyAndIsNotASuccess) {
    std::snprintf(m_layer.m_szPath, sizeof m_layer.m_szPath, "%s", kTooLong.c_str());
    const int tileNums[1] = {2};
    EXPECT_EQ(m_layer.LoadSubSheets(1, tileNums), 0);
    ASSERT_EQ(m_layer.m_nSubSheets, 1);
    EXPECT_EQ(m_layer.m_pSubSheets[0].m_Image.GetTileNum(), 0);
}

TEST_F(AvatarLayerTest, SheetWithoutTilesDrawsNothingButTheFrameExists) {
    WriteSheet(m_folder + "/MRH0001.avt", 1, 3);
    const int tileNums[1] = {0};
    ASSERT_EQ(m_layer.LoadSubSheets(1, tileNums), 1);
    int result = 0;
    m_layer.m_pSubTileNums[0] = 2;  // the layer counts two frames the sheet does not have
    EXPECT_EQ(Drawn(5, result), 0);
    EXPECT_EQ(result, 1);
}

}  // namespace
