// Cross-checks against giflib as an independent encoder and decoder.
#include <random>

#include "gif_test_util.h"
#include "support/giflib_files.h"

namespace giftest {
namespace {

std::vector<Rgb> RandomPalette(std::mt19937& random, int count) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back(Rgb{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                              static_cast<uint8_t>(random())});
    }
    return palette;
}

kvtest::GifBytes RandomIndices(std::mt19937& random, int width, int height, int colors,
                               int runLength) {
    kvtest::GifBytes indices;
    uint8_t value = 0;
    for (int i = 0; i < width * height; ++i) {
        if (random() % runLength == 0) {
            value = static_cast<uint8_t>(random() % colors);
        }
        indices.push_back(value);
    }
    return indices;
}

struct CrossCase {
    int width;
    int height;
    int colors;
    int runLength;
    bool interlaced;
};

class GiflibCrossCheck : public testing::TestWithParam<CrossCase> {};

TEST_P(GiflibCrossCheck, FirstFrameEqualsGiflibTruncatedToFiveBits) {
    const CrossCase c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.width * 131 + c.height * 7 + c.colors));
    const auto palette = RandomPalette(random, c.colors);
    std::vector<kvtest::GiflibFrame> frames(3);
    for (auto& frame : frames) {
        frame.width = c.width;
        frame.height = c.height;
        frame.indices = RandomIndices(random, c.width, c.height, c.colors, c.runLength);
        frame.interlaced = c.interlaced;
        frame.delay = 4;
        frame.disposal = 1;
    }
    const std::string path = TempPath("giflib.gif");
    ASSERT_TRUE(kvtest::WriteGiflibGif(path, c.width, c.height, palette, frames, 0));

    kvtest::GiflibImage reference;
    ASSERT_TRUE(kvtest::GiflibFirstImage(kvtest::ReadFileBytes(path), reference));
    cKvAniDIBList decoder;
    ASSERT_EQ(1, decoder.Load(path.c_str()));
    EXPECT_EQ(0, decoder.m_loopCount);
    EXPECT_EQ(3u, Frames(decoder).size());
    CKvAImage& ours = *Frames(decoder)[0];
    ASSERT_EQ((c.width + 1) & ~1, ours.GetWidth());
    ASSERT_EQ(c.height, ours.GetHeight());
    int mismatches = 0;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const Rgb p = reference.pixels[static_cast<size_t>(y) * c.width + x];
            mismatches += Pixel(ours, x, y) != kvpixel::FromRgb(p.r, p.g, p.b);
        }
    }
    EXPECT_EQ(0, mismatches);
}

INSTANTIATE_TEST_SUITE_P(
    Gif, GiflibCrossCheck,
    testing::Values(CrossCase{1, 1, 2, 1, false}, CrossCase{5, 3, 2, 1, false},
                    CrossCase{100, 120, 16, 4, false}, CrossCase{100, 120, 256, 1, false},
                    CrossCase{333, 77, 256, 1, true}, CrossCase{64, 64, 4, 20, true},
                    CrossCase{640, 480, 256, 3, false}, CrossCase{17, 9, 128, 2, true}));

TEST(GifBuilderCheck, BuilderEncodingDecodesIdenticallyInGiflib) {
    std::mt19937 random(7);
    for (int minimumCodeSize : {2, 4, 8}) {
        const int colors = 1 << minimumCodeSize;
        const auto indices = RandomIndices(random, 300, 200, colors, 2);
        GifBuilder gif(300, 200);
        gif.GlobalTable(RandomPalette(random, colors))
            .Image(0, 0, 300, 200, indices, minimumCodeSize)
            .Trailer();
        kvtest::GiflibImage reference;
        ASSERT_TRUE(kvtest::GiflibFirstImage(gif.Data(), reference)) << minimumCodeSize;
        cKvAniDIBList decoder;
        ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
        CKvAImage& ours = *Frames(decoder)[0];
        for (int i = 0; i < 300 * 200; i += 97) {
            const Rgb p = reference.pixels[static_cast<size_t>(i)];
            ASSERT_EQ(kvpixel::FromRgb(p.r, p.g, p.b), Pixel(ours, i % 300, i / 300)) << i;
        }
    }
}

}  // namespace
}  // namespace giftest
