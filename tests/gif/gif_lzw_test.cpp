// LZW decoding pinned with hand-packed codes.
#include "gif_test_util.h"

namespace giftest {
namespace {

using kvtest::CodeWriter;

const std::vector<Rgb> kColors{kRed, kGreen, kWhite, kGrey};
const uint16_t kPixels[4] = {kRedPixel, kGreenPixel, kWhitePixel, kGreyPixel};

// The first row of a width x 1 image decoded from the codes, as indices 0 to 3
// (-1 for the key); empty when nothing loads.
std::vector<int> DecodeRow(int width, const kvtest::GifBytes& data, int minimumCodeSize = 2,
                           size_t subBlockSize = 255) {
    cKvAniDIBList decoder;
    GifBuilder gif(width, 1);
    gif.GlobalTable(kColors)
        .Descriptor(0, 0, width, 1)
        .ImageData(minimumCodeSize, data, subBlockSize);
    gif.Trailer();
    if (LoadBytes(decoder, gif.Data()) != 1) {
        return {};
    }
    CKvAImage& frame = *Frames(decoder)[0];
    std::vector<int> row;
    for (int x = 0; x < width; ++x) {
        const uint16_t pixel = Pixel(frame, x, 0);
        int index = -1;
        for (int i = 0; i < 4; ++i) {
            index = pixel == kPixels[i] ? i : index;
        }
        row.push_back(index);
    }
    return row;
}

TEST(GifLzw, CodesWidenAfterEntrySevenWithMinimumCodeSizeTwo) {
    // clear 4 and end 5; 3-bit codes until entry 7 is made, then 4 bits.
    const auto data =
        CodeWriter().Put(4, 3).Put(0, 3).Put(1, 3).Put(2, 3).Put(3, 4).Put(5, 4).Finish();
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), DecodeRow(4, data));
    // Read with the wrong width the same codes mean something else.
    const auto narrow =
        CodeWriter().Put(4, 3).Put(0, 3).Put(1, 3).Put(2, 3).Put(3, 3).Put(5, 3).Finish();
    EXPECT_NE((std::vector<int>{0, 1, 2, 3}), DecodeRow(4, narrow));
}

TEST(GifLzw, CodeEqualToNextFreeRepeatsThePreviousStringsFirstIndex) {
    // 1, then 6 = [1 1] (not yet in the table), then 7 = [1 1 1].
    const auto data = CodeWriter().Put(4, 3).Put(1, 3).Put(6, 3).Put(7, 3).Put(5, 4).Finish();
    EXPECT_EQ(std::vector<int>(6, 1), DecodeRow(6, data));
    // The new entry is that string: code 6 later gives [1 1] again.
    const auto reuse =
        CodeWriter().Put(4, 3).Put(1, 3).Put(6, 3).Put(2, 3).Put(6, 4).Put(5, 4).Finish();
    EXPECT_EQ((std::vector<int>{1, 1, 1, 2, 1, 1}), DecodeRow(6, reuse));
}

TEST(GifLzw, StringsEmittedAgainMatchTheirTableEntries) {
    // 6 = [1 1] made by a code equal to the next free code, 7 = [1 1 2]; 7 twice.
    const auto repeated =
        CodeWriter().Put(4, 3).Put(1, 3).Put(6, 3).Put(2, 3).Put(7, 4).Put(7, 4).Put(5, 4).Finish();
    EXPECT_EQ((std::vector<int>{1, 1, 1, 2, 1, 1, 2, 1, 1, 2}), DecodeRow(10, repeated));
    // After a clear, code 6 is the single index 6 (no colour), not a string: the next
    // 6 is the zeroed entry 6, [0 0], plus its first index.
    const auto afterClear = CodeWriter().Put(4, 3).Put(6, 3).Put(6, 3).Put(5, 3).Finish();
    EXPECT_EQ((std::vector<int>{-1, 0, 0, 0}), DecodeRow(4, afterClear));
}

TEST(GifLzw, StreamWithoutLeadingClearUsesZeroAsPreviousCode) {
    // Code 1 makes entry 6 = [0 1] with 0 as its prefix.
    const auto data = CodeWriter().Put(1, 3).Put(6, 3).Put(5, 4).Finish();
    EXPECT_EQ((std::vector<int>{1, 0, 1}), DecodeRow(3, data));
}

TEST(GifLzw, ClearResetsWidthAndTable) {
    // Grow to 4 bits, clear (read with 4 bits), continue with 3-bit codes.
    const auto data = CodeWriter()
                          .Put(4, 3)
                          .Put(0, 3)
                          .Put(1, 3)
                          .Put(2, 3)
                          .Put(4, 4)
                          .Put(3, 3)
                          .Put(3, 3)
                          .Put(6, 3)
                          .Put(5, 4)
                          .Finish();
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 3, 3, 3}), DecodeRow(7, data));
}

TEST(GifLzw, CorruptCodesDropTheImage) {
    // After a clear, a code above the first free code.
    EXPECT_TRUE(DecodeRow(2, CodeWriter().Put(4, 3).Put(7, 3).Put(5, 3).Finish()).empty());
    // A chain that points at itself: entry 6's prefix is 6 after a clear followed by 6.
    EXPECT_TRUE(
        DecodeRow(4, CodeWriter().Put(4, 3).Put(6, 3).Put(1, 3).Put(6, 3).Put(5, 4).Finish())
            .empty());
}

TEST(GifLzw, MinimumCodeSizeAboveElevenIsRefused) {
    EXPECT_TRUE(
        DecodeRow(1, CodeWriter().Put(4096, 13).Put(0, 13).Put(4097, 13).Finish(), 12).empty());
    EXPECT_EQ((std::vector<int>{1}),
              DecodeRow(1, CodeWriter().Put(2048, 12).Put(1, 12).Put(2049, 12).Finish(), 11));
}

TEST(GifLzw, SubBlockBoundariesAreInvisible) {
    std::vector<uint8_t> indices;
    for (int i = 0; i < 300; ++i) {
        indices.push_back(static_cast<uint8_t>((i * 7 / 5) % 4));
    }
    const auto data = kvtest::LzwEncode(indices, 2);
    const std::vector<int> expected(indices.begin(), indices.end());
    for (size_t subBlock : {1, 2, 3, 254, 255}) {
        EXPECT_EQ(expected, DecodeRow(300, data, 2, subBlock)) << subBlock;
    }
}

TEST(GifLzw, FullTableKeepsDecodingWithTwelveBitCodes) {
    // Noise fills the 4096-entry table; with and without clear codes when full.
    std::vector<uint8_t> indices;
    uint32_t seed = 12345;
    for (int i = 0; i < 16000; ++i) {
        seed = seed * 1103515245u + 12345u;
        indices.push_back(static_cast<uint8_t>((seed >> 16) & 3));
    }
    const std::vector<int> expected(indices.begin(), indices.end());
    EXPECT_EQ(expected, DecodeRow(16000, kvtest::LzwEncode(indices, 2)));
    EXPECT_EQ(expected, DecodeRow(16000, kvtest::LzwEncode(indices, 2, {.clearWhenFull = false})));
}

TEST(GifLzw, DataEndingBeforeTheEndCodeKeepsTheIndicesSoFar) {
    // A terminator before the end code: the frame stays, the next frame still decodes.
    const auto codes = CodeWriter().Put(4, 3).Put(1, 3).Put(2, 3).Put(3, 3).Finish();
    {
        cKvAniDIBList decoder;
        GifBuilder gif(4, 1);
        gif.GlobalTable(kColors).Descriptor(0, 0, 4, 1).ImageData(2, codes);
        gif.Image(0, 0, 4, 1, {3, 3, 3, 3}, 2).Trailer();
        ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
        const auto frames = Frames(decoder);
        ASSERT_EQ(2u, frames.size());
        EXPECT_EQ((std::vector<uint16_t>{kGreenPixel, kWhitePixel, kGreyPixel, kRedPixel}),
                  Row(*frames[0], 0));
    }
    // The file ends inside a sub-block: the frame stays and the list ends.
    {
        cKvAniDIBList decoder;
        GifBuilder gif(4, 1);
        gif.GlobalTable(kColors).Image(0, 0, 4, 1, {1, 1, 1, 1}, 2);
        gif.Descriptor(0, 0, 4, 1).ImageData(2, kvtest::LzwEncode({2, 2, 2, 2}, 2));
        gif.Truncate(gif.Data().size() - 2);
        ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
        const auto frames = Frames(decoder);
        ASSERT_EQ(2u, frames.size());
        EXPECT_EQ(std::vector<uint16_t>(4, kRedPixel), Row(*frames[1], 0));
    }
}

}  // namespace
}  // namespace giftest
