// Hostile and broken files: refused or cut short cleanly, with bounded memory.
#include "gif_test_util.h"

namespace giftest {
namespace {

TEST(GifHostile, EveryTruncationLoadsCleanly) {
    GifBuilder gif(4, 4);
    gif.GlobalTable({kRed, kGreen}).Image(0, 0, 4, 4, std::vector<uint8_t>(16, 1), 2);
    gif.GraphicControl(1, 5).Image(1, 1, 2, 2, {0, 1, 1, 0}, 2, false, {kWhite, kGrey}).Trailer();
    const GifBytes whole = gif.Data();
    for (size_t size = 0; size <= whole.size(); ++size) {
        EXPECT_LE(FrameCount(GifBytes(whole.begin(), whole.begin() + size)), 2) << size;
    }
    EXPECT_EQ(2, FrameCount(whole));
}

TEST(GifHostile, CanvasAndDataLimitsAreCheckedBeforeDecoding) {
    const GifBytes zeros(4096, 0), few{0x0C, 0x00, 0x05};
    struct Case {
        int screenWidth, screenHeight, left, width, height;
        const GifBytes& data;
        int frames;  // -1: Load fails
        kvgif::GifError error;
    };
    const Case cases[] = {
        {65535, 65535, 0, 2, 1, zeros, 1, kvgif::GifError::kNone},  // the screen allocates nothing
        {2, 2, 0, 20000, 100, zeros, 1, kvgif::GifError::kNone},    // a strip of tiles
        {2, 2, 0, 40000, 4000, zeros, -1, kvgif::GifError::kCanvasTooLarge},  // 305 MiB
        {2, 2, 0, 65535, 65535, zeros, -1, kvgif::GifError::kCanvasTooLarge},
        // So many indices cannot come out of 3 bytes, even where none lands on the canvas.
        {1, 1, 0, 16384, 4096, few, -1, kvgif::GifError::kTooLittleData},
        {1, 1, 40000, 16384, 4096, few, -1, kvgif::GifError::kTooLittleData},
        {100, 100, 0, 100, 100, few, 1, kvgif::GifError::kNone},  // small: decodes what there is
    };
    for (const Case& c : cases) {
        GifBuilder gif(c.screenWidth, c.screenHeight);
        gif.GlobalTable(kColors).Descriptor(c.left, 0, c.width, c.height).ImageData(2, c.data);
        EXPECT_EQ(std::pair(c.frames, c.error), LoadResult(gif.Trailer().Data()))
            << c.left << " " << c.width << "x" << c.height;
    }
    // A later image is clipped to the first frame's canvas before any limit applies.
    GifBuilder later(4, 4);
    later.GlobalTable(kColors).Image(0, 0, 4, 4, std::vector<uint8_t>(16, 1), 2);
    later.Descriptor(0, 0, 65535, 65535).ImageData(2, {0x0C, 0x00});
    EXPECT_EQ(2, FrameCount(later.Trailer().Data()));
}

TEST(GifHostile, ManyLargeFramesStopAtTheDecoderBudget) {
    // Tiny frames each costing a whole 4096 x 4096 canvas: the list stops at 256 Mi pixels.
    GifBuilder gif(4096, 4096);
    gif.GlobalTable(kColors).Descriptor(0, 0, 4096, 4096).ImageData(2, GifBytes(4096, 0));
    for (int i = 0; i < 20; ++i) {
        gif.GraphicControl(1, 0).Image(0, 0, 1, 1, {1}, 2);
    }
    EXPECT_EQ(16, FrameCount(gif.Trailer().Data()));
}

TEST(GifHostile, ZeroWidthImagesWriteNoIndex) {
    // Mutated files whose zero-width images of several rows once wrote past the rows.
    for (const char* name : {"gif-index-overflow-1.gif", "gif-index-overflow-2.gif"}) {
        cKvAniDIBList decoder;
        decoder.Load((std::string(KVAVTR_SOURCE_DIR) + "/tests/data/gif/" + name).c_str());
        for (CKvAImage* frame : Frames(decoder)) {
            EXPECT_EQ(1, frame->GetWidth()) << name;
        }
    }
}

TEST(GifHostile, ExtensionsRunningPastTheDataEndTheList) {
    const GifBytes blocks[] = {
        {0x21, 0xF9, 4, 0},              // graphic control cut short
        {0x21, 0xFF, 11, 'N', 'E'},      // application identifier cut short
        {0x21, 0xFE, 200, 'a'},          // comment sub-block past the end
        {0x21, 0x01, 12, 0, 0},          // plain text header cut short
        {0x21, 0xFE, 3, 'a', 'b', 'c'},  // no terminator
        {0x21},                          // no label
    };
    for (const auto& block : blocks) {
        GifBuilder gif(2, 1);
        gif.GlobalTable(kColors).Image(0, 0, 2, 1, {0, 1}, 2).Raw(block);
        EXPECT_EQ(std::pair(1, kvgif::GifError::kShortExtension), LoadResult(gif.Data()));
    }
}

}  // namespace
}  // namespace giftest
