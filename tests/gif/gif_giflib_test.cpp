// Cross-checks against giflib as an independent encoder and decoder.
#include <random>

#include "gif_test_util.h"
#include "support/giflib_files.h"

namespace giftest {
namespace {

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
    std::vector<Rgb> palette;
    for (int i = 0; i < c.colors; ++i) {
        palette.push_back(Rgb{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                              static_cast<uint8_t>(random())});
    }
    std::vector<kvtest::GiflibFrame> frames(3);
    for (auto& frame : frames) {
        uint8_t value = 0;
        for (int i = 0; i < c.width * c.height; ++i) {
            value = random() % c.runLength == 0 ? static_cast<uint8_t>(random() % c.colors) : value;
            frame.indices.push_back(value);
        }
        frame.width = c.width;
        frame.height = c.height;
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
    ASSERT_EQ(3u, Frames(decoder).size());
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

INSTANTIATE_TEST_SUITE_P(Gif, GiflibCrossCheck,
                         testing::Values(CrossCase{1, 1, 2, 1, false}, CrossCase{5, 3, 2, 1, false},
                                         CrossCase{100, 120, 16, 4, false},
                                         CrossCase{333, 77, 256, 1, true},
                                         CrossCase{640, 480, 256, 3, false},
                                         CrossCase{17, 9, 128, 2, true},
                                         // Interlaced heights whose later passes are empty.
                                         CrossCase{3, 1, 4, 1, true}, CrossCase{4, 3, 4, 1, true},
                                         CrossCase{2, 5, 4, 1, true}));

}  // namespace
}  // namespace giftest
