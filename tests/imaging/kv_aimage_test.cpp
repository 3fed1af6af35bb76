#include "imaging/kv_aimage.h"

#include <gtest/gtest.h>

#include <array>

#include "image_test_util.h"

namespace {

using kvtest::Paint;
using kvtest::PixelAt;
using kvtest::SetPixel;

constexpr uint16_t kKey = 0x001F;

// Sizes below 1 become 1; rows are padded to 4 bytes and lie back to back.
TEST(KvAImageTest, SizesAndRowsAreLaidOutBackToBack) {
    for (const auto [width, height, wantWidth, wantHeight, rowBytes] :
         {std::array{0, 0, 1, 1, 4}, std::array{-5, 3, 1, 3, 4}, std::array{3, 2, 3, 2, 8},
          std::array{4, 2, 4, 2, 8}, std::array{16384, 2, 16384, 2, 32768}}) {
        CKvAImage image;
        ASSERT_TRUE(image.Create(width, height));
        EXPECT_EQ(image.GetWidth(), wantWidth);
        EXPECT_EQ(image.GetHeight(), wantHeight);
        EXPECT_EQ(image.GetBits(wantHeight - 1) - image.GetBits(0), rowBytes * (wantHeight - 1));
    }
}

TEST(KvAImageTest, SurfacesAreBoundedByBytesNotSides) {
    CKvAImage image;
    EXPECT_TRUE(image.Create(20000, 100));  // a strip of legacy tiles
    EXPECT_TRUE(image.Create(1, 100000));
    EXPECT_FALSE(image.Create(16384, 16384));  // 512 MiB
    EXPECT_FALSE(image.Create(1, 30000000));   // the row table counts too: 343 MiB
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_TRUE(image.Create(8192, 8192));  // 128 MiB
    EXPECT_EQ(AImageFits(8192, 8192), true);
    EXPECT_EQ(AImageFits(16384, 16384), false);
}

// The flag consulted is the destination's; 0xFFFFFFFF clears it until the next Create.
TEST(KvAImageTest, KeyedCopyFollowsTheDestinationFlag) {
    CKvAImage src, dst;
    ASSERT_TRUE(src.Create(2, 1));
    SetPixel(src, 0, 0, kKey);
    SetPixel(src, 1, 0, 0x1234);
    src.SetTransparentColor(0xFFFFFFFF);  // the source's flag plays no part
    ASSERT_TRUE(dst.Create(2, 1));
    Paint(dst, 0x7C00);
    dst.Draw(0, 0, src, 255);
    EXPECT_EQ(PixelAt(dst, 0, 0), 0x7C00);
    EXPECT_EQ(PixelAt(dst, 1, 0), 0x1234);
    dst.SetTransparentColor(0xFFFFFFFF);
    EXPECT_FALSE(dst.HasTransparentColor());
    dst.Draw(0, 0, src, 255);
    EXPECT_EQ(PixelAt(dst, 0, 0), kKey);
    ASSERT_TRUE(dst.Create(2, 2));
    EXPECT_TRUE(dst.HasTransparentColor());
    EXPECT_EQ(dst.GetTransparentColor(), 0xFFFFFFFFul);
}

struct ClipCase {
    int x, y, srcX, srcY, width, height;
    // The 4 x 4 destination afterwards: '.' untouched, a letter the source pixel shown.
    const char* rows[4];
};

class KvAImageClipTest : public testing::TestWithParam<ClipCase> {};

TEST_P(KvAImageClipTest, CopiesOnlyWhatLiesOnBothImages) {
    const ClipCase c = GetParam();
    CKvAImage src, dst;
    ASSERT_TRUE(src.Create(3, 3, 0xFFFFFFFF));
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 3; ++x) {
            SetPixel(src, x, row, static_cast<uint16_t>(0x100 * row + x + 1));
        }
    }
    ASSERT_TRUE(dst.Create(4, 4, 0xFFFFFFFF));
    Paint(dst, 0);
    dst.DrawUnSafe(c.x, c.y, src, c.srcX, c.srcY, c.width, c.height, 255);
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 4; ++x) {
            const int code = c.rows[row][x] - 'a';  // source pixel index row * 3 + column
            const uint16_t want =
                code < 0 ? 0 : static_cast<uint16_t>(0x100 * (code / 3) + code % 3 + 1);
            EXPECT_EQ(PixelAt(dst, x, row), want) << "x " << x << " row " << row;
        }
    }
}

// Source pixels named a b c / d e f / g h i.
INSTANTIATE_TEST_SUITE_P(
    Clips, KvAImageClipTest,
    testing::Values(ClipCase{0, 0, 0, 0, 3, 3, {"abc.", "def.", "ghi.", "...."}},
                    ClipCase{2, 2, 0, 0, 3, 3, {"....", "....", "..ab", "..de"}},
                    ClipCase{0, 0, 1, 1, 9, 9, {"ef..", "hi..", "....", "...."}},
                    ClipCase{4, 0, 0, 0, 3, 3, {"....", "....", "....", "...."}},
                    ClipCase{0, 0, 3, 0, 3, 3, {"....", "....", "....", "...."}},
                    ClipCase{1, 1, 0, 0, 0, 3, {"....", "....", "....", "...."}},
                    // Negative positions are clipped rather than written outside.
                    ClipCase{-1, -2, 0, 0, 3, 3, {"hi..", "....", "....", "...."}},
                    ClipCase{0, 0, -1, 0, 3, 1, {".ab.", "....", "....", "...."}}));

TEST(KvAImageTest, DrawTileCutsEqualTilesAndIgnoresTheRest) {
    CKvAImage strip, dst;
    ASSERT_TRUE(strip.Create(100, 1, 0xFFFFFFFF));
    for (int x = 0; x < 100; ++x) {
        SetPixel(strip, x, 0, static_cast<uint16_t>(x + 1));
    }
    strip.SetTileNum(3);
    ASSERT_TRUE(dst.Create(40, 1, 0xFFFFFFFF));
    for (int tile = 0; tile < 3; ++tile) {
        Paint(dst, 0);
        dst.DrawTile(0, 0, strip, tile, 300);
        EXPECT_EQ(PixelAt(dst, 0, 0), 33 * tile + 1);
        EXPECT_EQ(PixelAt(dst, 32, 0), 33 * tile + 33);
        EXPECT_EQ(PixelAt(dst, 33, 0), 0);
    }
    Paint(dst, 0);
    dst.DrawTile(0, 0, strip, 3, 255);
    dst.DrawTile(0, 0, strip, -1, 255);
    EXPECT_EQ(PixelAt(dst, 0, 0), 0);
    strip.SetTileNum(1);
    CKvAImage wide;
    ASSERT_TRUE(wide.Create(100, 1, 0xFFFFFFFF));
    wide.DrawTile(0, 0, strip, 0, 255);
    EXPECT_EQ(PixelAt(wide, 99, 0), 100);
}

TEST(KvAImageTest, FillRectChangesExactlyTheClippedArea) {
    CKvAImage image;
    ASSERT_TRUE(image.Create(5, 5));
    Paint(image, 0);
    image.FillRect(RECT{2, 1, 4, 3}, 0x00FF0000, 255);
    for (int row = 0; row < 5; ++row) {
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 2 && x < 4 && row >= 1 && row < 3;
            EXPECT_EQ(PixelAt(image, x, row), inside ? kKey : 0) << x << "," << row;
        }
    }
    image.FillRect(RECT{-10, -10, 1, 1}, 0x000000FF, 255);
    EXPECT_EQ(PixelAt(image, 0, 0), 0x7C00);
    image.FillRect(RECT{3, 3, 3, 9}, 0x000000FF, 255);
    image.FillRect(RECT{4, 4, 2, 5}, 0x000000FF, 255);
    EXPECT_EQ(PixelAt(image, 3, 3), 0);
    EXPECT_EQ(PixelAt(image, 4, 4), 0);
    // The whole-image fill leaves the row padding alone.
    ASSERT_TRUE(image.Create(3, 2));
    SetPixel(image, 3, 0, 0x5555);
    image.FillRect(0x00123456, 255);
    EXPECT_EQ(PixelAt(image, 2, 1), 0x28C2);
    EXPECT_EQ(PixelAt(image, 3, 0), 0x5555);
    CKvAImage().FillRect(0, 255);  // no pixels: nothing to write
}

}  // namespace
