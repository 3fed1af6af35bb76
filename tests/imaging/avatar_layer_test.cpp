#include "imaging/avatar_layer.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"
#include "support/bmp_builder.h"

namespace {

const std::string kTooLong = "/" + std::string(250, 'a') + "/MRH.avt";

TEST(SubSheetPathTest, NumberGoesBetweenTitleAndExtension) {
    const struct {
        const char* path;
        int number;
        const char* expect;  // compared after path translation; null: refused
    } cases[] = {{"C:\\a\\b\\MRH.avt", 1, "\\a\\b\\MRH0001.avt"},
                 {"/tmp/x/MRH.avt", 1, "/tmp/x/MRH0001.avt"},
                 {"MRH.avt", 12, "MRH0012.avt"},
                 {".\\Avatar\\x.y.avt", 999, ".\\Avatar\\x.y0999.avt"},
                 {"C:\\a\\MRH.avt", 1000, nullptr},
                 {kTooLong.c_str(), 1, nullptr}};  // would not fit 260 characters
    for (const auto& c : cases) {
        char out[260];
        ASSERT_EQ(MakeSubSheetPath(c.path, c.number, out), c.expect ? 1 : 0) << c.path;
        if (c.expect) {
            EXPECT_EQ(kvplatform::TranslatePath(out), kvplatform::TranslatePath(c.expect));
        }
    }
}

// Tile t of sheet s is red level 8 * (4 * s + t + 1); the main sheet has 4 tiles.
class AvatarLayerTest : public testing::Test {
protected:
    static uint16_t TilePixel(int sheet, int tile) {
        return static_cast<uint16_t>((4 * sheet + tile + 1) << 10);
    }

    void WriteSheet(int sheet, int tiles) {
        kvtest::BmpBuilder bmp(2 * tiles, 1, 24);
        for (int x = 0; x < 2 * tiles; ++x) {
            bmp.Pixel(x, 0, static_cast<uint32_t>(8 * (4 * sheet + x / 2 + 1)) << 16);
        }
        const std::string name = "/MRH000" + std::to_string(sheet) + ".avt";
        ASSERT_TRUE(kvtest::WriteBytes(m_folder + name, bmp.Bytes()));
    }

    void SetUp() override {
        std::snprintf(m_layer.m_szPath, sizeof m_layer.m_szPath, "%s/MRH.avt", m_folder.c_str());
        CKvAImage& main = m_layer.m_Sheet.m_Image;
        ASSERT_TRUE(main.Create(8, 1));
        for (int x = 0; x < 8; ++x) {
            main.Row(0)[x] = TilePixel(0, x / 2);
        }
        main.SetTileNum(4);
        ASSERT_TRUE(m_dest.Create(2, 1, 0xFFFFFFFF));
    }

    // DrawFrame's result and the pixel it left (0: nothing drawn).
    std::pair<int, uint16_t> Drawn(int frame) {
        m_dest.FillRect(0, 255);
        const int result = m_layer.DrawFrame(frame, m_dest);
        return {result, m_dest.Row(0)[1]};
    }

    std::string m_folder = kvtest::MakeTempFolder();
    CAvatarLayer m_layer;
    CKvAImage m_dest;
};

TEST_F(AvatarLayerTest, FramesRunThroughTheMainSheetThenEachSubSheet) {
    WriteSheet(1, 3);
    WriteSheet(2, 1);
    const int tileNums[2] = {3, 1};
    ASSERT_EQ(m_layer.LoadSubSheets(2, tileNums), 1);
    EXPECT_EQ(m_layer.m_pSubSheets[0].m_Image.GetTransparentColor(), 0x00FF0000ul);
    const int cases[][3] = {{0, 0, 0}, {3, 0, 3}, {4, 1, 0}, {5, 1, 1}, {6, 1, 2}, {7, 2, 0}};
    for (const auto [frame, sheet, tile] : cases) {
        EXPECT_EQ(Drawn(frame), std::pair(1, TilePixel(sheet, tile))) << frame;
    }
    EXPECT_EQ(Drawn(8), std::pair(0, uint16_t{0}));
}

// One missing sheet drops them all; a sheet without tiles draws nothing for the frames the
// layer counts in it; one without a path stays empty and is no success.
TEST_F(AvatarLayerTest, MissingAndEmptySubSheets) {
    WriteSheet(1, 3);
    const int tileNums[2] = {0, 1};
    EXPECT_EQ(m_layer.LoadSubSheets(2, tileNums), 0);
    EXPECT_EQ(m_layer.m_nSubSheets, 0);
    EXPECT_EQ(m_layer.m_pSubSheets, nullptr);
    EXPECT_EQ(Drawn(3), std::pair(1, TilePixel(0, 3)));
    EXPECT_EQ(Drawn(4).first, 0);
    ASSERT_EQ(m_layer.LoadSubSheets(1, tileNums), 1);
    m_layer.m_pSubTileNums[0] = 2;
    EXPECT_EQ(Drawn(5), std::pair(1, uint16_t{0}));
    std::snprintf(m_layer.m_szPath, sizeof m_layer.m_szPath, "%s", kTooLong.c_str());
    EXPECT_EQ(m_layer.LoadSubSheets(1, tileNums + 1), 0);
    ASSERT_EQ(m_layer.m_nSubSheets, 1);
    EXPECT_EQ(m_layer.m_pSubSheets[0].m_Image.GetTileNum(), 0);
}

}  // namespace
