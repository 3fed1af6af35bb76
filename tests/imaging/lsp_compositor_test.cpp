#include <gtest/gtest.h>

#include <random>

#include "image_test_util.h"
#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "sprite_test_util.h"

namespace {

using kvtest::MakeSprite;
using kvtest::ReferenceSurface;
using kvtest::SpritePtr;
using kvtest::SurfacePixel;

constexpr uint16_t kBack = 0x1234;

// Expects the surface, brought up to date, to show what the reference shows.
void ExpectSameAsReference(lsp::CLspDib& surface, const ReferenceSurface& reference,
                           const char* what) {
    surface.Update();
    int mismatches = 0;
    for (int row = 0; row < surface.m_nRows; ++row) {
        for (int x = 0; x < surface.m_nPitch / 2; ++x) {
            if (SurfacePixel(surface, x, row) != reference.At(x, row) && ++mismatches <= 5) {
                ADD_FAILURE() << what << ": pixel " << x << " row " << row << " is "
                              << SurfacePixel(surface, x, row) << ", expected "
                              << reference.At(x, row);
            }
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

struct PitchCase {
    int width, height, pitch;
};

class LspPitchTest : public testing::TestWithParam<PitchCase> {};

TEST_P(LspPitchTest, FreshSurfaceShowsTheBackgroundEverywhere) {
    const PitchCase c = GetParam();
    lsp::CLspDib surface;
    surface.CreateDib(c.width, c.height, kBack, 2);
    EXPECT_EQ(surface.m_nPitch, c.pitch);
    EXPECT_EQ(surface.m_nRows, c.height);
    EXPECT_EQ(surface.m_bmi.bmiHeader.biHeight, -c.height);
    EXPECT_EQ(surface.m_bmi.bmiHeader.biBitCount, 16);
    ASSERT_NE(surface.m_pBits, nullptr);
    surface.Update();
    for (int row = 0; row < c.height; ++row) {
        for (int x = 0; x < c.pitch / 2; ++x) {
            ASSERT_EQ(SurfacePixel(surface, x, row), kBack);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pitches, LspPitchTest,
                         testing::Values(PitchCase{100, 120, 200}, PitchCase{50, 60, 100},
                                         PitchCase{51, 60, 104}, PitchCase{1, 1, 4}));

TEST(LspCompositorTest, RunsLandBetweenTheirSkips) {
    lsp::CLspDib surface;
    surface.CreateDib(10, 1, kBack, 2);
    const SpritePtr sprite = MakeSprite(10, {{2, 2, 0xA, 0xB, 1, 1, 0xC, 4, 0}});
    lsp::PutSprite(&surface, 0, 0, sprite.get());
    surface.Update();
    const uint16_t expect[10] = {kBack, kBack, 0xA, 0xB, kBack, 0xC, kBack, kBack, kBack, kBack};
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(SurfacePixel(surface, x, 0), expect[x]) << x;
    }
}

TEST(LspCompositorTest, LaterSpritesCoverEarlierOnesExceptWhereTransparent) {
    lsp::CLspDib surface;
    surface.CreateDib(6, 1, kBack, 2);
    const SpritePtr under = MakeSprite(6, {{0, 6, 1, 2, 3, 4, 5, 6}});
    const SpritePtr over = MakeSprite(6, {{1, 2, 7, 8, 2, 1, 9}});
    lsp::PutSprite(&surface, 0, 0, under.get());
    lsp::PutSprite(&surface, 0, 0, over.get());
    surface.Update();
    const uint16_t expect[6] = {1, 7, 8, 4, 5, 9};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(SurfacePixel(surface, x, 0), expect[x]) << x;
    }
}

// A 5 x 4 sprite with holes, put at every position around and across each edge.
TEST(LspCompositorTest, SpritesAreClippedAtEveryEdge) {
    const SpritePtr sprite =
        MakeSprite(5, {{0, 5, 1, 2, 3, 4, 5}, {1, 3, 6, 7, 8, 1, 0}, {5, 0}, {0, 1, 9, 3, 1, 10}});
    constexpr int kWidth = 7, kRows = 5;
    lsp::CLspDib surface;
    surface.CreateDib(kWidth, kRows, kBack, 2);  // 8 pixels a row with the padding one
    for (int y = -5; y <= kRows + 1; ++y) {
        for (int x = -6; x <= kWidth + 2; ++x) {
            lsp::ClearSpans(&surface);
            lsp::PutSprite(&surface, x, y, sprite.get());
            ReferenceSurface reference(surface.m_nPitch / 2, kRows, kBack);
            reference.Put(x, y, *sprite);
            ExpectSameAsReference(surface, reference,
                                  ("at " + std::to_string(x) + "," + std::to_string(y)).c_str());
        }
    }
}

TEST(LspCompositorTest, FarOffSpritesDoNotWrapOntoTheSurface) {
    const SpritePtr sprite = MakeSprite(4, {{0, 4, 1, 2, 3, 4}});
    lsp::CLspDib surface;
    surface.CreateDib(10, 1, kBack, 2);
    for (int x : {32768 + 2, 65536 + 2, -32768 - 2, 2147483647, -2147483647 - 1}) {
        lsp::PutSprite(&surface, x, 0, sprite.get());
    }
    surface.Update();
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(SurfacePixel(surface, x, 0), kBack);
    }
}

// Thousands of seeded random sprites against the pixel-by-pixel painter.
TEST(LspCompositorTest, RandomSpritesMatchThePainter) {
    std::mt19937 random(20261206);
    lsp::CLspDib surface;
    surface.CreateDib(37, 23, kBack, 2);
    for (int picture = 0; picture < 250; ++picture) {
        lsp::ClearSpans(&surface);
        ReferenceSurface reference(surface.m_nPitch / 2, surface.m_nRows, kBack);
        std::vector<SpritePtr> sprites;
        const int count = 1 + static_cast<int>(random() % 24);
        for (int i = 0; i < count; ++i) {
            CKvAImage image;
            ASSERT_TRUE(image.Create(1 + random() % 45, 1 + random() % 28));
            // Runs of random lengths, some of them the key colour.
            uint16_t pixel = 0;
            int runLeft = 0;
            for (int row = 0; row < image.GetHeight(); ++row) {
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
            reference.Put(x, y, *sprites.back());
        }
        ExpectSameAsReference(surface, reference, ("picture " + std::to_string(picture)).c_str());
        if (HasFailure()) {
            return;
        }
    }
}

// Random single spans against plain byte copies.
TEST(LspCompositorTest, RandomSpansMatchByteCopies) {
    std::mt19937 random(7);
    std::vector<unsigned char> source(4096);
    for (unsigned char& byte : source) {
        byte = static_cast<unsigned char>(random());
    }
    lsp::CLspDib surface;
    surface.CreateDib(20, 3, kBack, 2);
    for (int picture = 0; picture < 300; ++picture) {
        lsp::ClearSpans(&surface);
        std::vector<unsigned char> expect(size_t(surface.m_nPitch) * 3);
        for (size_t i = 0; i < expect.size(); i += 2) {
            std::memcpy(&expect[i], &kBack, 2);
        }
        for (int i = 0; i < 30; ++i) {
            const int row = static_cast<int>(random() % 3);
            const int begin = static_cast<int>(random() % 46) - 3;
            const int end = begin + static_cast<int>(random() % 20) - 2;
            const unsigned char* data = &source[random() % 4000];
            lsp::PutSpan(&surface, row, begin, end, data);
            if (begin >= 0 && begin < end && end <= surface.m_nPitch) {
                std::memcpy(&expect[size_t(row) * surface.m_nPitch + begin], data, end - begin);
            }
        }
        surface.Update();
        ASSERT_EQ(std::memcmp(expect.data(), surface.m_pBits, expect.size()), 0)
            << "picture " << picture;
    }
}

TEST(LspCompositorTest, PoolGrowsPastOneBlockThenIsReused) {
    lsp::CLspDib surface;
    surface.CreateDib(100, 120, kBack, 2);
    EXPECT_EQ(CountBlocks(surface), 1);
    const SpritePtr dot = MakeSprite(1, {{0, 1, 7}});
    // The 120 rows take 120 nodes; a dot inside a span takes two more.
    for (int i = 0; i < 4; ++i) {
        lsp::PutSprite(&surface, 10 + 2 * i, 0, dot.get());
    }
    EXPECT_EQ(CountBlocks(surface), 1);
    lsp::PutSprite(&surface, 20, 0, dot.get());
    EXPECT_EQ(CountBlocks(surface), 2);

    // Many spans a row: every other pixel of every row.
    const auto fill = [&] {
        lsp::ClearSpans(&surface);
        for (int row = 0; row < 120; ++row) {
            for (int x = 0; x < 100; x += 2) {
                lsp::PutSprite(&surface, x, row, dot.get());
            }
        }
    };
    fill();
    const int grown = CountBlocks(surface);
    std::vector<const lsp::SPANBLOCK*> blocks;
    for (const lsp::SPANBLOCK* block = surface.m_pSpanPool->first; block; block = block->next) {
        blocks.push_back(block);
    }
    EXPECT_GE(grown, 120 * 100 / 128);
    fill();
    fill();
    EXPECT_EQ(CountBlocks(surface), grown);
    const lsp::SPANBLOCK* block = surface.m_pSpanPool->first;
    for (const lsp::SPANBLOCK* kept : blocks) {
        EXPECT_EQ(block, kept);
        block = block->next;
    }
    surface.Update();
    EXPECT_EQ(SurfacePixel(surface, 98, 119), 7);
    EXPECT_EQ(SurfacePixel(surface, 99, 119), kBack);
}

TEST(LspCompositorTest, ImageSpritesAreOpaqueEverywhere) {
    CKvAImage image;
    ASSERT_TRUE(image.Create(3, 2));
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 3; ++x) {
            kvtest::SetPixel(image, x, row, static_cast<uint16_t>(row == 1 ? 0x001F : x + 1));
        }
    }
    const SpritePtr sprite(lsp::MakeSpriteFromImage(image));
    ASSERT_EQ(sprite->width, 3);
    ASSERT_EQ(sprite->height, 2);
    const uint16_t expect[2][5] = {{0, 3, 1, 2, 3}, {0, 3, 0x1F, 0x1F, 0x1F}};
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(std::memcmp(sprite->rows[row], expect[row], sizeof expect[row]), 0) << row;
    }
    const SpritePtr keyed(lsp::MakeKeyedSpriteFromImage(image));
    const uint16_t transparentRow[2] = {3, 0};
    EXPECT_EQ(std::memcmp(keyed->rows[1], transparentRow, sizeof transparentRow), 0);
}

TEST(LspCompositorTest, SurfaceWithoutPixelStoreIgnoresUpdates) {
    lsp::CLspDib surface;
    surface.CreateDib(40000, 2, kBack, 2);  // wider than 16-bit columns allow
    EXPECT_EQ(surface.m_pBits, nullptr);
    EXPECT_EQ(surface.m_hBitmap, nullptr);
    const SpritePtr sprite = MakeSprite(1, {{0, 1, 7}});
    lsp::ClearSpans(&surface);
    lsp::PutSprite(&surface, 0, 0, sprite.get());
    surface.Update();
    lsp::BltLsp(nullptr, 0, 0, 0, 0, 1, 1, &surface);
    lsp::TransBltLsp(nullptr, 0, 0, 0, 0, 1, 1, &surface);
}

}  // namespace
