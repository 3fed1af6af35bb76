// LZW decoding pinned with hand-packed codes.
#include "gif_test_util.h"

namespace giftest {
namespace {

using kvtest::CodeWriter;

// The first row of a width x 1 image decoded from the codes, as indices 0 to 3
// (-1 for the key); empty when nothing loads.
std::vector<int> DecodeRow(int width, const GifBytes& data, int minimumCodeSize = 2,
                           size_t subBlockSize = 255) {
    cKvAniDIBList decoder;
    GifBuilder gif(width, 1);
    gif.GlobalTable(kColors)
        .Descriptor(0, 0, width, 1)
        .ImageData(minimumCodeSize, data, subBlockSize)
        .Trailer();
    if (LoadBytes(decoder, gif.Data()) != 1) {
        return {};
    }
    std::vector<int> row;
    for (uint16_t pixel : Row(*Frames(decoder)[0], 0)) {
        int index = -1;
        for (int i = 0; i < 4; ++i) {
            index = pixel == kPixels[i] ? i : index;
        }
        row.push_back(index);
    }
    row.resize(static_cast<size_t>(width));
    return row;
}

struct CodesCase {
    const char* name;
    std::vector<std::pair<int, int>> codes;  // code, bit width
    std::vector<int> expected;               // empty: the image is dropped
    int width = 0;                           // 0: as many pixels as expected
    int minimumCodeSize = 2;
};

class GifLzwCodes : public testing::TestWithParam<CodesCase> {};

TEST_P(GifLzwCodes, DecodeTo) {
    CodeWriter writer;
    for (const auto& [code, bits] : GetParam().codes) {
        writer.Put(code, bits);
    }
    const int width =
        GetParam().width ? GetParam().width : static_cast<int>(GetParam().expected.size());
    EXPECT_EQ(GetParam().expected, DecodeRow(width, writer.Finish(), GetParam().minimumCodeSize));
}

// Clear is 4 and end 5 with minimum code size 2.
INSTANTIATE_TEST_SUITE_P(
    Gif, GifLzwCodes,
    testing::Values(
        // 3-bit codes until entry 7 is made, then 4 bits.
        CodesCase{
            "WidenAfterEntrySeven", {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}}, {0, 1, 2, 3}},
        // Code equal to the next free one: 6 = [1 1], then 7 = [1 1 1].
        CodesCase{"KwKwK", {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}, {1, 1, 1, 1, 1, 1}},
        CodesCase{"KwKwKEntryReused",
                  {{4, 3}, {1, 3}, {6, 3}, {2, 3}, {6, 4}, {5, 4}},
                  {1, 1, 1, 2, 1, 1}},
        CodesCase{"LinkedLastEmittedTwice",
                  {{4, 3}, {1, 3}, {6, 3}, {2, 3}, {7, 4}, {7, 4}, {5, 4}},
                  {1, 1, 1, 2, 1, 1, 2, 1, 1, 2}},
        // After a clear, 6 is the bare index 6 (no colour); the next 6 is the zeroed
        // entry [0 0] plus its first index.
        CodesCase{"NextFreeRightAfterClear", {{4, 3}, {6, 3}, {6, 3}, {5, 3}}, {-1, 0, 0, 0}},
        // Without a leading clear the first code stands alone as after a clear: 6 = [1 1].
        CodesCase{"NoLeadingClear", {{1, 3}, {6, 3}, {5, 3}}, {1, 1, 1}},
        // After a clear, the end and clear codes are indices (no colour here).
        CodesCase{"EndRightAfterClearIsAnIndex", {{4, 3}, {5, 3}, {1, 3}, {5, 3}}, {-1, 1}},
        CodesCase{"ClearRightAfterClearIsAnIndex", {{4, 3}, {4, 3}, {0, 3}, {5, 3}}, {-1, 0}},
        // Above the next free code elsewhere: the previous string plus its first index.
        CodesCase{"AboveNextFreeRepeatsThePrevious", {{4, 3}, {1, 3}, {7, 3}, {5, 3}}, {1, 1, 1}},
        // Grow to 4 bits, clear (read with 4 bits), continue with 3-bit codes.
        CodesCase{"ClearResetsWidthAndTable",
                  {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {4, 4}, {3, 3}, {3, 3}, {6, 3}, {5, 4}},
                  {0, 1, 2, 3, 3, 3, 3}},
        CodesCase{"CodeAboveNextFree", {{4, 3}, {7, 3}, {5, 3}}, {}, 2},
        // Entry 6's prefix is itself.
        CodesCase{"SelfPrefix", {{4, 3}, {6, 3}, {1, 3}, {6, 3}, {5, 4}}, {}, 4},
        // Clear 2, end 3: the first entry already needs 3-bit codes.
        CodesCase{
            "MinimumCodeSizeOne", {{2, 2}, {1, 2}, {1, 2}, {4, 3}, {3, 3}}, {1, 1, 1, 1}, 0, 1},
        CodesCase{"MinimumCodeSizeEleven", {{2048, 12}, {1, 12}, {2049, 12}}, {1}, 1, 11},
        CodesCase{"MinimumCodeSizeTwelveRefused", {{4096, 13}, {0, 13}, {4097, 13}}, {}, 1, 12}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GifLzw, SubBlockBoundariesAndFullTables) {
    std::vector<uint8_t> indices;
    uint32_t seed = 12345;
    for (int i = 0; i < 16000; ++i) {
        seed = seed * 1103515245u + 12345u;
        indices.push_back(static_cast<uint8_t>((seed >> 16) & 3));
    }
    const std::vector<int> expected(indices.begin(), indices.end());
    // Noise fills the 4096-entry table; with and without clear codes when full.
    EXPECT_EQ(expected, DecodeRow(16000, kvtest::LzwEncode(indices, 2), 2, 1));
    EXPECT_EQ(expected, DecodeRow(16000, kvtest::LzwEncode(indices, 2, {.clearWhenFull = false})));
}

TEST(GifLzw, DataEndingBeforeTheEndCodeKeepsTheIndicesSoFar) {
    // A terminator before the end code: the frame stays and the next one decodes.
    cKvAniDIBList decoder;
    GifBuilder gif(4, 1);
    gif.GlobalTable(kColors).Descriptor(0, 0, 4, 1);
    gif.ImageData(2, CodeWriter().Put(4, 3).Put(1, 3).Put(2, 3).Put(3, 3).Finish());
    gif.Image(0, 0, 4, 1, {3, 3, 3, 3}, 2);
    // The file ends inside a sub-block: that frame stays and the list ends.
    gif.Descriptor(0, 0, 4, 1).ImageData(2, kvtest::LzwEncode({2, 2, 2, 2}, 2));
    ASSERT_EQ(1, LoadBytes(decoder, gif.Truncate(gif.Data().size() - 2).Data()));
    const auto frames = Frames(decoder);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ((std::vector<uint16_t>{kGreenPixel, kWhitePixel, kGreyPixel, kRedPixel}),
              Row(*frames[0], 0));
    EXPECT_EQ(std::vector<uint16_t>(4, kGreyPixel), Row(*frames[1], 0));
}

}  // namespace
}  // namespace giftest
