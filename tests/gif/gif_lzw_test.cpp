// LZW decoding pinned with hand-packed codes and cross-checked against giflib.
#include <random>

#include "gif_test_util.h"
#include "support/giflib_files.h"

namespace giftest {
namespace {

// A width x 1 image's row as indices 0 to 3 (-1: the key); empty when nothing loads.
std::vector<int> DecodeRow(int width, const GifBytes& data, int minimumCodeSize = 2,
                           size_t subBlockSize = 255) {
    cKvAniDIBList decoder;
    GifBuilder gif(width, 1);
    gif.GlobalTable(kColors).Descriptor(0, 0, width, 1);
    gif.ImageData(minimumCodeSize, data, subBlockSize).Trailer();
    if (LoadBytes(decoder, gif.Data()) != 1) {
        return {};
    }
    std::vector<int> row;
    for (uint16_t pixel : Row(*Frames(decoder)[0], 0)) {
        const auto* found = std::find(kPixels, kPixels + 4, pixel);
        row.push_back(found == kPixels + 4 ? -1 : static_cast<int>(found - kPixels));
    }
    row.resize(static_cast<size_t>(width));
    return row;
}

struct CodesCase {
    const char* name;
    std::vector<std::pair<int, int>> codes;  // code, bit width
    std::vector<int> expected;               // empty: the image is dropped
    int width = 0, minimumCodeSize = 2;      // width 0: as many pixels as expected
};

// Clear is 4 and end 5 with minimum code size 2.
TEST(GifLzw, HandPackedCodes) {
    const CodesCase cases[] = {
        // Code equal to the next free one: 6 = [1 1], then 7 = [1 1 1].
        {"KwKwK", {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}, {1, 1, 1, 1, 1, 1}},
        {"LinkedLastEmittedTwice",
         {{4, 3}, {1, 3}, {6, 3}, {2, 3}, {7, 4}, {7, 4}, {5, 4}},
         {1, 1, 1, 2, 1, 1, 2, 1, 1, 2}},
        // After a clear 6 is a bare index (no colour); the next 6 is [0 0] plus 0.
        {"NextFreeRightAfterClear", {{4, 3}, {6, 3}, {6, 3}, {5, 3}}, {-1, 0, 0, 0}},
        // Without a leading clear the first code stands as after one: 6 = [1 1].
        {"NoLeadingClear", {{1, 3}, {6, 3}, {5, 3}}, {1, 1, 1}},
        // After a clear, the end and clear codes are indices (no colour here).
        {"EndRightAfterClearIsAnIndex", {{4, 3}, {5, 3}, {1, 3}, {5, 3}}, {-1, 1}},
        {"ClearRightAfterClearIsAnIndex", {{4, 3}, {4, 3}, {0, 3}, {5, 3}}, {-1, 0}},
        // Above the next free code elsewhere: the previous string plus its first index.
        {"AboveNextFreeRepeatsThePrevious", {{4, 3}, {1, 3}, {7, 3}, {5, 3}}, {1, 1, 1}},
        // Widen to 4 bits once entry 7 is made, clear (read with 4 bits), back to 3 bits.
        {"ClearResetsWidthAndTable",
         {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {4, 4}, {3, 3}, {3, 3}, {6, 3}, {5, 4}},
         {0, 1, 2, 3, 3, 3, 3}},
        {"CodeAboveNextFree", {{4, 3}, {7, 3}, {5, 3}}, {}, 2},
        // Entry 6's prefix is itself.
        {"SelfPrefix", {{4, 3}, {6, 3}, {1, 3}, {6, 3}, {5, 4}}, {}, 4},
        // Clear 2, end 3: the first entry already needs 3-bit codes.
        {"MinimumCodeSizeOne", {{2, 2}, {1, 2}, {1, 2}, {4, 3}, {3, 3}}, {1, 1, 1, 1}, 0, 1},
        {"MinimumCodeSizeEleven", {{2048, 12}, {1, 12}, {2049, 12}}, {1}, 1, 11},
        {"MinimumCodeSizeTwelveRefused", {{4096, 13}, {0, 13}, {4097, 13}}, {}, 1, 12}};
    for (const CodesCase& c : cases) {
        kvtest::CodeWriter writer;
        for (const auto& [code, bits] : c.codes) {
            writer.Put(code, bits);
        }
        const int width = c.width ? c.width : static_cast<int>(c.expected.size());
        EXPECT_EQ(c.expected, DecodeRow(width, writer.Finish(), c.minimumCodeSize)) << c.name;
    }
}

TEST(GifLzw, SubBlockBoundariesAndFullTables) {
    std::mt19937 random(12345);
    GifBytes indices(16000);
    for (uint8_t& index : indices) {
        index = static_cast<uint8_t>(random() & 3);
    }
    const std::vector<int> expected(indices.begin(), indices.end());
    // Noise fills the 4096-entry table; with and without clear codes when full.
    EXPECT_EQ(expected, DecodeRow(16000, kvtest::LzwEncode(indices, 2), 2, 1));
    EXPECT_EQ(expected, DecodeRow(16000, kvtest::LzwEncode(indices, 2, {.clearWhenFull = false})));
}

TEST(GifLzw, DataEndingBeforeTheEndCodeKeepsTheIndicesSoFar) {
    // A terminator before the end code: the frame stays and the next one decodes;
    // the file ending inside a sub-block keeps that frame and ends the list.
    cKvAniDIBList decoder;
    GifBuilder gif(4, 1);
    gif.GlobalTable(kColors).Descriptor(0, 0, 4, 1);
    gif.ImageData(2, kvtest::CodeWriter().Put(4, 3).Put(1, 3).Put(2, 3).Put(3, 3).Finish());
    gif.Image(0, 0, 4, 1, {3, 3, 3, 3}, 2);
    gif.Descriptor(0, 0, 4, 1).ImageData(2, kvtest::LzwEncode({2, 2, 2, 2}, 2));
    ASSERT_EQ(1, LoadBytes(decoder, gif.Truncate(gif.Data().size() - 2).Data()));
    const auto frames = Frames(decoder);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ((std::vector<uint16_t>{kGreenPixel, kWhitePixel, kGreyPixel, kRedPixel}),
              Row(*frames[0], 0));
    EXPECT_EQ(std::vector<uint16_t>(4, kGreyPixel), Row(*frames[1], 0));
}

struct CrossCase {
    int width, height, colors, runLength;
    bool interlaced;
};

class GiflibCrossCheck : public testing::TestWithParam<CrossCase> {};

TEST_P(GiflibCrossCheck, FirstFrameEqualsGiflibTruncatedToFiveBits) {
    const CrossCase c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.width * 131 + c.height * 7 + c.colors));
    std::vector<Rgb> palette(static_cast<size_t>(c.colors));
    for (Rgb& color : palette) {
        color = Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())};
    }
    std::vector<kvtest::GiflibFrame> frames(3,
                                            {0, 0, c.width, c.height, {}, 4, 1, -1, c.interlaced});
    for (auto& frame : frames) {
        uint8_t value = 0;
        for (int i = 0; i < c.width * c.height; ++i) {
            value = random() % c.runLength == 0 ? static_cast<uint8_t>(random() % c.colors) : value;
            frame.indices.push_back(value);
        }
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
    ASSERT_EQ((std::pair{(c.width + 1) & ~1, c.height}),
              (std::pair{ours.GetWidth(), ours.GetHeight()}));
    int mismatches = 0;
    for (int y = 0; y < c.height; ++y) {
        const std::vector<uint16_t> row = Row(ours, y);
        for (int x = 0; x < c.width; ++x) {
            const Rgb p = reference.pixels[static_cast<size_t>(y) * c.width + x];
            mismatches += row[x] != kvpixel::FromRgb(p.r, p.g, p.b);
        }
    }
    EXPECT_EQ(0, mismatches);
}

// The last three: interlaced heights whose later passes are empty.
INSTANTIATE_TEST_SUITE_P(Gif, GiflibCrossCheck,
                         testing::Values(CrossCase{1, 1, 2, 1, false}, CrossCase{5, 3, 2, 1, false},
                                         CrossCase{100, 120, 16, 4, false},
                                         CrossCase{333, 77, 256, 1, true},
                                         CrossCase{640, 480, 256, 3, false},
                                         CrossCase{3, 1, 4, 1, true}, CrossCase{4, 3, 4, 1, true},
                                         CrossCase{2, 5, 4, 1, true}));

}  // namespace
}  // namespace giftest
