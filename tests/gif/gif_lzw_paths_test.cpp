// The LZW loop's short paths (a whole image as one run: runs of single indices,
// single indices and short strings copied as words, longer strings copied from
// where they were written) against its general path (rows with a gap after each,
// where strings are walked), on streams of every kind, corrupt ones included.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "gif/gif_lzw.h"
#include "support/gif_builder.h"

namespace {

using kvtest::GifBytes;

struct Decoded {
    GifBytes indices;  // row after row, without gaps
    kvgif::LzwStatus status;
    size_t position;
};

Decoded Decode(const GifBytes& subBlocks, int minimumCodeSize, int width, int height, bool oneRun) {
    const int stride = oneRun ? width : width + 5;
    GifBytes rows(static_cast<size_t>(stride) * height);
    std::vector<kvgif::StringEntry> table(kvgif::kStringTableSlots);
    auto codes = std::make_unique<kvgif::CodeBytes>();
    kvgif::DataCursor data{subBlocks.data(), subBlocks.size(), 1};
    kvgif::IndexCursor cursor;
    cursor.Start(rows.data(), stride, width, height, width, height, false);
    EXPECT_EQ(oneRun, cursor.oneRun);
    Decoded decoded{
        {}, kvgif::DecodeLzw(minimumCodeSize, table.data(), *codes, data, cursor), data.pos};
    for (int y = 0; y < height; ++y) {
        decoded.indices.insert(decoded.indices.end(), rows.begin() + y * stride,
                               rows.begin() + y * stride + width);
    }
    return decoded;
}

// Codes as an encoder would size them, but drawn at random: made strings, the next
// free code, codes past it (broken strings), clear codes; then the end code.
GifBytes RandomCodes(std::mt19937& random, int minimumCodeSize, int count) {
    const unsigned clear = 1u << minimumCodeSize;
    kvtest::CodeWriter writer;
    unsigned nextFree = clear + 2;
    int size = minimumCodeSize + 1;
    bool epochStart = true;
    for (int i = 0; i < count; ++i) {
        const auto roll = random() % 1000;
        unsigned code;
        if (epochStart) {
            code = static_cast<unsigned>(random() % clear);
        } else if (roll < 5) {
            code = clear;
        } else if (roll < 10) {
            code = std::min(nextFree + 1 + static_cast<unsigned>(random() % 3), (1u << size) - 1);
        } else if (roll < 40) {
            code = nextFree;
        } else {
            code = static_cast<unsigned>(random() % nextFree);
            code = code == clear || code == clear + 1 ? code - 2 : code;
        }
        writer.Put(std::min(code, (1u << size) - 1), size);
        if (code == clear) {
            nextFree = clear + 2;
            size = minimumCodeSize + 1;
            epochStart = true;
            continue;
        }
        if (!epochStart && nextFree < 4096 && ++nextFree > (1u << size) - 1 && size < 12) {
            ++size;
        }
        epochStart = false;
    }
    return writer.Put(clear + 1, size).Finish();
}

struct StreamCase {
    int minimumCodeSize, width, height, runLength;  // runLength 0: random codes
    bool clearWhenFull;
    size_t cutTo;  // bytes of code data kept; 0: all
};

TEST(GifLzwPaths, ShortPathsEqualTheGeneralPath) {
    // Noise (run length 1) runs through every code size, gathering refills and cuts.
    const StreamCase cases[] = {
        {8, 64, 64, 1, true, 0},    {8, 300, 40, 3, true, 0},      {2, 200, 50, 1, true, 0},
        {4, 120, 100, 20, true, 0}, {8, 100, 120, 300, true, 0},   {3, 500, 30, 6, false, 0},
        {8, 64, 64, 2, true, 2000}, {1, 33, 7, 2, true, 0},        {11, 40, 40, 4, true, 0},
        {8, 64, 64, 0, true, 0},    {2, 50, 50, 0, true, 0},       {5, 80, 80, 0, true, 0},
        {8, 200, 100, 0, true, 0},  {3, 100, 100, 0, true, 0},     {7, 60, 60, 0, true, 0},
        {8, 300, 300, 1, true, 0},  {8, 300, 300, 1, true, 30001}, {7, 400, 100, 1, true, 0},
        {8, 300, 200, 1, false, 0}, {9, 200, 100, 1, true, 0}};
    int seed = 0;
    for (const StreamCase& c : cases) {
        std::mt19937 random(static_cast<unsigned>(++seed));
        const int colors = 1 << std::min(c.minimumCodeSize, 8);
        GifBytes codeData;
        if (c.runLength == 0) {
            codeData = RandomCodes(random, c.minimumCodeSize, c.width * c.height / 2);
        } else {
            GifBytes indices;
            uint8_t index = 0;
            for (int i = 0; i < c.width * c.height; ++i) {
                index =
                    random() % c.runLength == 0 ? static_cast<uint8_t>(random() % colors) : index;
                indices.push_back(index);
            }
            codeData =
                kvtest::LzwEncode(indices, c.minimumCodeSize, {.clearWhenFull = c.clearWhenFull});
        }
        if (c.cutTo != 0) {
            codeData.resize(c.cutTo);
        }
        const GifBytes subBlocks =
            kvtest::GifBuilder(0, 0).Truncate(0).ImageData(c.minimumCodeSize, codeData, 255).Data();
        const Decoded fast = Decode(subBlocks, c.minimumCodeSize, c.width, c.height, true);
        const Decoded general = Decode(subBlocks, c.minimumCodeSize, c.width, c.height, false);
        EXPECT_EQ(general.indices, fast.indices) << "case " << seed;
        EXPECT_EQ(general.status, fast.status) << "case " << seed;
        EXPECT_EQ(general.position, fast.position) << "case " << seed;
    }
}

}  // namespace

// Where the data cursor stands after the codes, as the byte reader would leave it.
TEST(GifLzwPaths, PositionAfterTheCodes) {
    const GifBytes ends{3, 'a', 'b', 'c', 2, 'd', 'e', 0};
    const GifBytes cut{3, 'a', 'b', 'c', 9, 'd', 'e'};  // the second sub-block cut off
    struct Case {
        const GifBytes* data;
        uint64_t bits;
        bool ended;
        size_t position;
    };
    // Past the last byte used, or the next size byte; when the codes ran out, the
    // terminator or the end less a byte a code still waited for.
    const Case cases[] = {{&ends, 0, false, 0},  {&ends, 1, false, 2}, {&ends, 24, false, 4},
                          {&ends, 25, false, 6}, {&ends, 36, true, 7}, {&ends, 32, true, 6},
                          {&cut, 24, true, 7},   {&cut, 16, true, 6}};
    for (const Case& c : cases) {
        auto codes = std::make_unique<kvgif::CodeBytes>();
        codes->Start(kvgif::DataCursor{c.data->data(), c.data->size(), 0});
        EXPECT_EQ(c.position, codes->PositionAfter(c.bits, c.ended)) << c.bits << " " << c.ended;
    }
}
