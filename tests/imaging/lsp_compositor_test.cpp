#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "sprite_test_util.h"

namespace {

using kvtest::MakeSprite;
using kvtest::ReferenceSurface;
using kvtest::SpritePtr;
using kvtest::SurfacePixel;

constexpr uint16_t kBack = 0x1234;

// The surface, brought up to date, shows what the painter shows.
void ExpectAsPainted(lsp::CLspDib& surface, const ReferenceSurface& painted,
                     const std::string& what) {
    surface.Update();
    for (int row = 0; row < surface.m_nRows; ++row) {
        for (int x = 0; x < surface.m_nPitch / 2; ++x) {
            ASSERT_EQ(SurfacePixel(surface, x, row),
                      painted.pixels[size_t(row) * painted.width + x])
                << what << ": pixel " << x << " row " << row;
        }
    }
}

int CountBlocks(const lsp::CLsp& surface) {
    int blocks = 0;
    for (const lsp::SPANBLOCK* block = surface.m_pSpanPool->first; block; block = block->next) {
        ++blocks;
    }
    return blocks;
}

// Runs, a pair without opaque pixels ending a row mid-way or at once, and the (0, 0) pair
// ending a row that has data after it.
const std::vector<std::vector<uint16_t>> kHandRows = {{0, 5, 1, 2, 3, 4, 5},
                                                      {1, 3, 6, 7, 8, 1, 0},
                                                      {5, 0},
                                                      {0, 1, 9, 3, 1, 10},
                                                      {1, 1, 11, 0, 0, 1, 1, 0xBAD}};

TEST(LspCompositorTest, RunsLandBetweenTheirSkips) {
    const SpritePtr sprite = MakeSprite(5, kHandRows);
    const uint16_t B = kBack;
    ReferenceSurface painted(6, 5, kBack);  // 5 pixels and the padding one
    painted.Put(0, 0, *sprite);
    EXPECT_EQ(painted.pixels,
              (std::vector<uint16_t>{1, 2, 3, 4, 5, B, B, 6,  7, 8, B,  B, B, B, B,
                                     B, B, B, 9, B, B, B, 10, B, B, 11, B, B, B, B}));
    lsp::CLspDib surface;
    surface.CreateDib(5, 5, kBack, 2);
    lsp::PutSprite(&surface, 0, 0, sprite.get());
    ExpectAsPainted(surface, painted, "at 0,0");
}

// Every position around and across each edge, and far off where 16-bit columns would wrap.
TEST(LspCompositorTest, SpritesAreClippedAtEveryEdge) {
    const SpritePtr sprite = MakeSprite(5, kHandRows);
    lsp::CLspDib surface;
    surface.CreateDib(7, 5, kBack, 2);  // 8 pixels a row with the padding one
    for (int y = -5; y <= 6; ++y) {
        for (int x : {-6, -5, -4, -3, -2, -1,    0,     1,      2,       3,      4,
                      5,  6,  7,  8,  9,  32770, 65538, -32770, INT_MAX, INT_MIN}) {
            lsp::ClearSpans(&surface);
            lsp::PutSprite(&surface, x, y, sprite.get());
            ReferenceSurface painted(8, 5, kBack);
            painted.Put(x, y, *sprite);
            ASSERT_NO_FATAL_FAILURE(
                ExpectAsPainted(surface, painted, std::to_string(x) + "," + std::to_string(y)));
        }
    }
}

// Seeded random surfaces and pictures of many overlapping sprites, some with a span of bytes.
TEST(LspCompositorTest, RandomPicturesMatchThePainter) {
    std::mt19937 random(20261206);
    const std::vector<unsigned char> bytes = kvtest::RandomBytes(random, 4096);
    for (int picture = 0; picture < 250; ++picture) {
        lsp::CLspDib surface;
        const int width = 1 + static_cast<int>(random() % 60),
                  height = 1 + static_cast<int>(random() % 30);
        surface.CreateDib(width, height, kBack, 2);
        ASSERT_EQ(surface.m_nPitch, (2 * width + 3) / 4 * 4);
        ASSERT_EQ(surface.m_bmi.bmiHeader.biHeight, -height);
        ASSERT_EQ(surface.m_bmi.bmiHeader.biBitCount, 16);
        ReferenceSurface painted(surface.m_nPitch / 2, height, kBack);
        std::vector<SpritePtr> sprites;
        for (int i = 0, count = static_cast<int>(random() % 24); i < count; ++i) {
            CKvAImage image;
            ASSERT_TRUE(image.Create(1 + random() % 45, 1 + random() % 28));
            uint16_t pixel = 0;  // runs of random lengths, some of them the key colour
            for (int row = 0, runLeft = 0; row < image.GetHeight(); ++row) {
                for (int x = 0; x < image.GetWidth(); ++x) {
                    if (runLeft-- <= 0) {
                        runLeft = static_cast<int>(random() % 7);
                        pixel = random() % 3 == 0 ? 0x001F : static_cast<uint16_t>(random());
                    }
                    image.Row(row)[x] = pixel == 0x001F ? pixel : pixel++;
                }
            }
            sprites.emplace_back(random() % 8 == 0 ? lsp::MakeSpriteFromImage(image)
                                                   : lsp::MakeKeyedSpriteFromImage(image));
            const int x = static_cast<int>(random() % 100) - 50;
            const int y = static_cast<int>(random() % 60) - 30;
            lsp::PutSprite(&surface, x, y, sprites.back().get());
            painted.Put(x, y, *sprites.back());
            if (random() % 4 == 0) {  // maybe off the row
                const int row = static_cast<int>(random() % height);
                const int begin = static_cast<int>(random() % 80) - 3;
                const int end = begin + static_cast<int>(random() % 20) - 2;
                const unsigned char* data = &bytes[2 * (random() % 2000)];
                lsp::PutSpan(&surface, row, begin, end, data);
                for (int at = begin; begin >= 0 && end <= surface.m_nPitch && at < end; ++at) {
                    reinterpret_cast<unsigned char*>(
                        &painted.pixels[size_t(row) * painted.width])[at] = data[at - begin];
                }
            }
        }
        ASSERT_NO_FATAL_FAILURE(
            ExpectAsPainted(surface, painted, "picture " + std::to_string(picture)));
    }
}

// Every other pixel of 120 rows takes many 128-node blocks, the second time the same ones.
TEST(LspCompositorTest, PoolGrowsThenIsReused) {
    lsp::CLspDib surface;
    surface.CreateDib(100, 120, kBack, 2);
    const SpritePtr dot = MakeSprite(1, {{0, 1, 7}});
    int blocks[2] = {};
    for (int& count : blocks) {
        lsp::ClearSpans(&surface);
        for (int row = 0; row < 120; ++row) {
            for (int x = 0; x < 100; x += 2) {
                lsp::PutSprite(&surface, x, row, dot.get());
            }
        }
        count = CountBlocks(surface);
    }
    EXPECT_GE(blocks[0], 120 * 100 / 128);
    EXPECT_EQ(blocks[1], blocks[0]);
    surface.Update();
    EXPECT_EQ(SurfacePixel(surface, 98, 119), 7);
    EXPECT_EQ(SurfacePixel(surface, 99, 119), kBack);
}

TEST(LspCompositorTest, ImageSpritesAreOpaqueEverywhereKeyedOnesSkipTheKey) {
    CKvAImage image;
    ASSERT_TRUE(image.Create(3, 2));
    const uint16_t pixels[2][3] = {{1, 2, 3}, {0x1F, 0x1F, 0x1F}};
    std::memcpy(image.Row(0), pixels[0], 6);
    std::memcpy(image.Row(1), pixels[1], 6);
    const SpritePtr sprite(lsp::MakeSpriteFromImage(image)),
        keyed(lsp::MakeKeyedSpriteFromImage(image));
    EXPECT_EQ(std::vector(sprite->rows[0], sprite->rows[0] + 5),
              (std::vector<uint16_t>{0, 3, 1, 2, 3}));
    EXPECT_EQ(std::vector(sprite->rows[1], sprite->rows[1] + 5),
              (std::vector<uint16_t>{0, 3, 0x1F, 0x1F, 0x1F}));
    EXPECT_EQ(std::vector(keyed->rows[1], keyed->rows[1] + 2), (std::vector<uint16_t>{3, 0}));
}

// Too wide for 16-bit columns: no pixel store; composing, updating and copying touch nothing.
TEST(LspCompositorTest, SurfaceWithoutPixelStoreIgnoresUpdates) {
    lsp::CLspDib surface;
    surface.CreateDib(40000, 2, kBack, 2);
    ASSERT_EQ(surface.m_pBits, nullptr);
    const SpritePtr sprite = MakeSprite(1, {{0, 1, 7}});
    lsp::ClearSpans(&surface);
    lsp::PutSprite(&surface, 0, 0, sprite.get());
    lsp::PutSpan(&surface, 0, 0, 2, reinterpret_cast<const unsigned char*>(&kBack));
    surface.Update();
    const auto pixels = kvtest::DrawnPixels(CreateBitmap(2, 2, 1, 1, nullptr), [&](HDC dc) {
        lsp::BltLsp(dc, 0, 0, 0, 0, 2, 2, &surface);
        lsp::TransBltLsp(dc, 0, 0, 0, 0, 2, 2, &surface);
    });
    EXPECT_EQ(pixels, std::vector<COLORREF>(4, 0));  // a new bitmap is black
}

}  // namespace
