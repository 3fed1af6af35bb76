#include <gtest/gtest.h>

#include <random>

#include "image_test_util.h"
#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "platform/testing.h"
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

// Pitch padded to 4 bytes, a top-down header, the background everywhere.
TEST(LspCompositorTest, FreshSurfacesShowTheBackground) {
    for (const auto [width, height, pitch] : {std::array{100, 120, 200}, std::array{50, 60, 100},
                                              std::array{51, 60, 104}, std::array{1, 1, 4}}) {
        lsp::CLspDib surface;
        surface.CreateDib(width, height, kBack, 2);
        EXPECT_EQ(surface.m_nPitch, pitch);
        EXPECT_EQ(surface.m_bmi.bmiHeader.biHeight, -height);
        EXPECT_EQ(surface.m_bmi.bmiHeader.biBitCount, 16);
        ASSERT_NE(surface.m_pBits, nullptr);
        ExpectAsPainted(surface, ReferenceSurface(pitch / 2, height, kBack), "fresh");
    }
}

// Hand-made rows on a 10-pixel row, each put over the one before.
TEST(LspCompositorTest, RunsLandBetweenTheirSkipsAndCoverWhatIsUnder) {
    struct Case {
        std::vector<uint16_t> row;
        std::vector<uint16_t> shows;
    };
    const uint16_t B = kBack;
    const Case cases[] = {
        {{2, 2, 0xA, 0xB, 1, 1, 0xC, 4, 0}, {B, B, 0xA, 0xB, B, 0xC, B, B, B, B}},
        {{0, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {{1, 2, 0x11, 0x12, 2, 1, 0x13, 4, 0}, {1, 0x11, 0x12, 4, 5, 0x13, 7, 8, 9, 10}},
        // A pair without opaque pixels ends the row, even one that skips nothing.
        {{0, 0}, {1, 0x11, 0x12, 4, 5, 0x13, 7, 8, 9, 10}},
        {{3, 1, 0x14, 0, 0, 9, 9}, {1, 0x11, 0x12, 0x14, 5, 0x13, 7, 8, 9, 10}},
    };
    lsp::CLspDib surface;
    surface.CreateDib(10, 1, kBack, 2);
    std::vector<SpritePtr> sprites;
    for (const Case& c : cases) {
        sprites.push_back(MakeSprite(10, {c.row}));
        lsp::PutSprite(&surface, 0, 0, sprites.back().get());
        surface.Update();
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(SurfacePixel(surface, x, 0), c.shows[x]) << sprites.size() << " pixel " << x;
        }
    }
}

// A 5 x 4 sprite with holes at every position around and across each edge, and far
// off where 16-bit columns would wrap.
TEST(LspCompositorTest, SpritesAreClippedAtEveryEdge) {
    const SpritePtr sprite =
        MakeSprite(5, {{0, 5, 1, 2, 3, 4, 5}, {1, 3, 6, 7, 8, 1, 0}, {5, 0}, {0, 1, 9, 3, 1, 10}});
    lsp::CLspDib surface;
    surface.CreateDib(7, 5, kBack, 2);  // 8 pixels a row with the padding one
    for (int y = -5; y <= 6; ++y) {
        for (int x : {-6, -5, -4,    -3,    -2,     -1,         0,
                      1,  2,  3,     4,     5,      6,          7,
                      8,  9,  32770, 65538, -32770, 2147483647, -2147483647 - 1}) {
            lsp::ClearSpans(&surface);
            lsp::PutSprite(&surface, x, y, sprite.get());
            ReferenceSurface painted(8, 5, kBack);
            painted.Put(x, y, *sprite);
            ASSERT_NO_FATAL_FAILURE(
                ExpectAsPainted(surface, painted, std::to_string(x) + "," + std::to_string(y)));
        }
    }
}

// Seeded random pictures of many sprites, and of single spans, against the painter
// and plain byte copies.
TEST(LspCompositorTest, RandomPicturesMatchThePainter) {
    std::mt19937 random(20261206);
    lsp::CLspDib surface;
    surface.CreateDib(37, 23, kBack, 2);
    std::vector<unsigned char> bytes(4096);
    for (unsigned char& byte : bytes) {
        byte = static_cast<unsigned char>(random());
    }
    for (int picture = 0; picture < 250; ++picture) {
        lsp::ClearSpans(&surface);
        ReferenceSurface painted(surface.m_nPitch / 2, surface.m_nRows, kBack);
        std::vector<SpritePtr> sprites;
        for (int i = 0, count = 1 + static_cast<int>(random() % 24); i < count; ++i) {
            CKvAImage image;
            ASSERT_TRUE(image.Create(1 + random() % 45, 1 + random() % 28));
            uint16_t pixel = 0;  // runs of random lengths, some of them the key colour
            for (int row = 0, runLeft = 0; row < image.GetHeight(); ++row) {
                for (int x = 0; x < image.GetWidth(); ++x) {
                    if (runLeft-- <= 0) {
                        runLeft = static_cast<int>(random() % 7);
                        pixel = random() % 3 == 0 ? 0x001F : static_cast<uint16_t>(random());
                    }
                    kvtest::SetPixel(image, x, row, pixel == 0x001F ? pixel : pixel++);
                }
            }
            sprites.emplace_back(random() % 8 == 0 ? lsp::MakeSpriteFromImage(image)
                                                   : lsp::MakeKeyedSpriteFromImage(image));
            const int x = static_cast<int>(random() % 100) - 50;
            const int y = static_cast<int>(random() % 60) - 30;
            lsp::PutSprite(&surface, x, y, sprites.back().get());
            painted.Put(x, y, *sprites.back());
            if (random() % 4 == 0) {  // a single span, in bytes, maybe off the row
                const int row = static_cast<int>(random() % 23);
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

TEST(LspCompositorTest, PoolGrowsPastOneBlockThenIsReused) {
    lsp::CLspDib surface;
    surface.CreateDib(100, 120, kBack, 2);
    const SpritePtr dot = MakeSprite(1, {{0, 1, 7}});
    // The 120 rows take 120 nodes; a dot inside a span takes two more.
    for (int i = 0; i < 4; ++i) {
        lsp::PutSprite(&surface, 10 + 2 * i, 0, dot.get());
    }
    EXPECT_EQ(CountBlocks(surface), 1);
    lsp::PutSprite(&surface, 20, 0, dot.get());
    EXPECT_EQ(CountBlocks(surface), 2);
    const auto fill = [&] {  // every other pixel of every row
        lsp::ClearSpans(&surface);
        for (int row = 0; row < 120; ++row) {
            for (int x = 0; x < 100; x += 2) {
                lsp::PutSprite(&surface, x, row, dot.get());
            }
        }
    };
    fill();
    const lsp::SPANBLOCK* last = surface.m_pSpanPool->current;
    const int grown = CountBlocks(surface);
    EXPECT_GE(grown, 120 * 100 / 128);
    fill();
    EXPECT_EQ(CountBlocks(surface), grown);
    EXPECT_EQ(surface.m_pSpanPool->current, last);
    surface.Update();
    EXPECT_EQ(SurfacePixel(surface, 98, 119), 7);
    EXPECT_EQ(SurfacePixel(surface, 99, 119), kBack);
}

TEST(LspCompositorTest, ImageSpritesAreOpaqueEverywhere) {
    CKvAImage image;
    ASSERT_TRUE(image.Create(3, 2));
    const uint16_t pixels[2][3] = {{1, 2, 3}, {0x1F, 0x1F, 0x1F}};
    for (int row = 0; row < 2; ++row) {
        std::memcpy(image.Row(row), pixels[row], sizeof pixels[row]);
    }
    const SpritePtr sprite(lsp::MakeSpriteFromImage(image));
    const SpritePtr keyed(lsp::MakeKeyedSpriteFromImage(image));
    const std::vector<uint16_t> rows[3] = {{0, 3, 1, 2, 3}, {0, 3, 0x1F, 0x1F, 0x1F}, {3, 0}};
    EXPECT_TRUE(std::equal(rows[0].begin(), rows[0].end(), sprite->rows[0]));
    EXPECT_TRUE(std::equal(rows[1].begin(), rows[1].end(), sprite->rows[1]));
    EXPECT_TRUE(std::equal(rows[2].begin(), rows[2].end(), keyed->rows[1]));
}

// A surface too wide for 16-bit columns gets no pixel store: composing, updating and
// copying it leave memory and the device context alone.
TEST(LspCompositorTest, SurfaceWithoutPixelStoreIgnoresUpdates) {
    lsp::CLspDib surface;
    surface.CreateDib(40000, 2, kBack, 2);
    ASSERT_EQ(surface.m_pBits, nullptr);
    const SpritePtr sprite = MakeSprite(1, {{0, 1, 7}});
    lsp::ClearSpans(&surface);
    lsp::PutSprite(&surface, 0, 0, sprite.get());
    lsp::PutSpan(&surface, 0, 0, 2, reinterpret_cast<const unsigned char*>(&kBack));
    surface.Update();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    lsp::BltLsp(dc, 0, 0, 0, 0, 2, 2, &surface);
    lsp::TransBltLsp(dc, 0, 0, 0, 0, 2, 2, &surface);
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    ASSERT_TRUE(kvplatform::ReadDcPixels(dc, width, height, pixels));
    EXPECT_EQ(pixels, std::vector<COLORREF>(4, 0));  // a new bitmap is black
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
