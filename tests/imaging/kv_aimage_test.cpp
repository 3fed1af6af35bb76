#include "imaging/kv_aimage.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr uint16_t kKey = 0x001F;
constexpr unsigned long kNoKey = 0xFFFFFFFF;

// Pixel (x, row) is 0x100 * row + x + 1.
void Number(CKvAImage& image, int width, int height) {
    ASSERT_TRUE(image.Create(width, height, kNoKey));
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            image.Row(row)[x] = static_cast<uint16_t>(0x100 * row + x + 1);
        }
    }
}

// Sizes below 1 become 1; rows are padded to 4 bytes and lie back to back; the limit is on
// bytes (the row table included), not on sides.
TEST(KvAImageTest, SizesRowsAndLimits) {
    CKvAImage image;
    const int sizes[][5] = {{0, 0, 1, 1, 4},
                            {-5, 3, 1, 3, 4},
                            {3, 2, 3, 2, 8},
                            {4, 2, 4, 2, 8},
                            {20000, 100, 20000, 100, 40000},
                            {1, 100000, 1, 100000, 4},
                            {8192, 8192, 8192, 8192, 16384},
                            {16384, 16384, 0, 0, 0},
                            {1, 30000000, 0, 0, 0}};
    for (const auto [width, height, wantWidth, wantHeight, rowBytes] : sizes) {
        ASSERT_EQ(image.Create(width, height), wantWidth != 0) << width << "x" << height;
        EXPECT_EQ(AImageFits(width, height), wantWidth != 0);
        EXPECT_EQ(image.GetWidth(), wantWidth);
        EXPECT_EQ(image.GetHeight(), wantHeight);
        if (wantHeight > 1) {
            EXPECT_EQ(image.GetBits(wantHeight - 1) - image.GetBits(0),
                      rowBytes * (wantHeight - 1));
        }
    }
}

// The destination's flag counts; kNoKey clears it until the next Create.
TEST(KvAImageTest, KeyedCopyFollowsTheDestinationFlag) {
    CKvAImage src, dst;
    ASSERT_TRUE(src.Create(2, 1, kNoKey));
    src.Row(0)[0] = kKey;
    src.Row(0)[1] = 0x1234;
    ASSERT_TRUE(dst.Create(2, 1));
    dst.FillRect(0x0000FF, 255);
    dst.Draw(0, 0, src, 255);
    EXPECT_EQ(std::vector(dst.Row(0), dst.Row(0) + 2), (std::vector<uint16_t>{0x7C00, 0x1234}));
    dst.SetTransparentColor(kNoKey);
    EXPECT_FALSE(dst.HasTransparentColor());
    dst.Draw(0, 0, src, 255);
    EXPECT_EQ(dst.Row(0)[0], kKey);
    ASSERT_TRUE(dst.Create(2, 2));
    EXPECT_TRUE(dst.HasTransparentColor());
    EXPECT_EQ(dst.GetTransparentColor(), kNoKey);
}

// Origins around and across both images: only what lies on both is copied.
TEST(KvAImageTest, DrawUnSafeCopiesOnlyWhatLiesOnBothImages) {
    CKvAImage src, dst;
    Number(src, 3, 3);
    ASSERT_TRUE(dst.Create(4, 4, kNoKey));
    for (int x = -4; x <= 4; ++x) {
        for (int y = -4; y <= 4; ++y) {
            for (const auto [sx, sy, w, h] : {std::array{0, 0, 3, 3},
                                              {-1, 0, 3, 1},
                                              {1, 1, 9, 9},
                                              {3, 0, 3, 3},
                                              {0, -1, 0, 3},
                                              {-1, -2, 9, 2}}) {
                dst.FillRect(0, 255);
                dst.DrawUnSafe(x, y, src, sx, sy, w, h, 255);
                for (int row = 0; row < 4; ++row) {
                    for (int column = 0; column < 4; ++column) {
                        const int cx = column - x + sx, cy = row - y + sy;
                        const bool shown = column >= x && column < x + w && row >= y &&
                                           row < y + h && cx >= 0 && cx < 3 && cy >= 0 && cy < 3;
                        ASSERT_EQ(dst.Row(row)[column], shown ? 0x100 * cy + cx + 1 : 0)
                            << x << "," << y << " from " << sx << "," << sy << " at " << column
                            << "," << row;
                    }
                }
            }
        }
    }
}

// Tiles are width / count wide; the rest of the strip and tiles out of range draw nothing.
TEST(KvAImageTest, DrawTileCutsEqualTilesAndIgnoresTheRest) {
    CKvAImage strip, dst;
    Number(strip, 100, 1);
    strip.SetTileNum(3);
    ASSERT_TRUE(dst.Create(40, 1, kNoKey));
    for (int tile = -1; tile <= 3; ++tile) {
        dst.FillRect(0, 255);
        dst.DrawTile(0, 0, strip, tile, 300);
        const bool drawn = tile >= 0 && tile < 3;
        EXPECT_EQ(dst.Row(0)[0], drawn ? 33 * tile + 1 : 0);
        EXPECT_EQ(dst.Row(0)[32], drawn ? 33 * tile + 33 : 0);
        EXPECT_EQ(dst.Row(0)[33], 0);
    }
    strip.SetTileNum(1);
    ASSERT_TRUE(dst.Create(100, 1, kNoKey));
    dst.DrawTile(0, 0, strip, 0, 255);
    EXPECT_EQ(dst.Row(0)[99], 100);
}

TEST(KvAImageTest, FillRectChangesExactlyTheClippedArea) {
    CKvAImage image;
    ASSERT_TRUE(image.Create(5, 5));
    image.FillRect(0, 255);
    image.FillRect(RECT{2, 1, 4, 3}, 0x00FF0000, 255);
    image.FillRect(RECT{-10, -10, 1, 1}, 0x000000FF, 255);
    image.FillRect(RECT{3, 3, 3, 9}, 0x000000FF, 255);  // empty
    image.FillRect(RECT{4, 4, 2, 5}, 0x000000FF, 255);  // inverted
    for (int row = 0; row < 5; ++row) {
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 2 && x < 4 && row >= 1 && row < 3;
            EXPECT_EQ(image.Row(row)[x], inside         ? kKey
                                         : x + row == 0 ? 0x7C00
                                                        : 0)
                << x << "," << row;
        }
    }
    ASSERT_TRUE(image.Create(3, 2));
    image.Row(0)[3] = 0x5555;  // row padding, left alone
    image.FillRect(0x00123456, 255);
    EXPECT_EQ(image.Row(1)[2], 0x28C2);
    EXPECT_EQ(image.Row(0)[3], 0x5555);
    CKvAImage().FillRect(0, 255);  // no pixels: nothing to write
}

}  // namespace
