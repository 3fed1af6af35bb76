// Hostile and broken files: refused or cut short cleanly, with bounded memory.
#include "gif_test_util.h"

namespace giftest {
namespace {

GifBytes TwoFrames() {
    GifBuilder gif(4, 4);
    gif.GlobalTable({kRed, kGreen}).Image(0, 0, 4, 4, std::vector<uint8_t>(16, 1), 2);
    gif.GraphicControl(1, 5).Image(1, 1, 2, 2, {0, 1, 1, 0}, 2, false, {kWhite, kGrey}).Trailer();
    return gif.Data();
}

TEST(GifHostile, EveryTruncationLoadsCleanly) {
    const GifBytes whole = TwoFrames();
    for (size_t size = 0; size <= whole.size(); ++size) {
        const int frames = FrameCount(GifBytes(whole.begin(), whole.begin() + size));
        EXPECT_LE(frames, 2) << size;
    }
    EXPECT_EQ(2, FrameCount(whole));
}

TEST(GifHostile, OnlyCanvasBytesAreLimitedAndCheckedBeforeDecoding) {
    struct Case {
        int screenWidth, screenHeight, width, height;
        int frames;  // -1: Load fails
        kvgif::GifError error;
    };
    const Case cases[] = {
        {65535, 65535, 2, 1, 1, kvgif::GifError::kNone},            // the screen allocates nothing
        {2, 2, 20000, 100, 1, kvgif::GifError::kNone},              // a strip of tiles
        {2, 2, 40000, 4000, -1, kvgif::GifError::kCanvasTooLarge},  // 305 MiB of pixels
        {2, 2, 65535, 65535, -1, kvgif::GifError::kCanvasTooLarge},
    };
    for (const Case& c : cases) {
        GifBuilder gif(c.screenWidth, c.screenHeight);
        gif.GlobalTable(kColors)
            .Descriptor(0, 0, c.width, c.height)
            .ImageData(2, std::vector<uint8_t>(4096, 0x00));
        cKvAniDIBList decoder;
        const int loaded = LoadBytes(decoder, gif.Trailer().Data());
        EXPECT_EQ(c.frames, loaded == 1 ? static_cast<int>(Frames(decoder).size()) : -1)
            << c.width << "x" << c.height;
        EXPECT_EQ(c.error, decoder.LastError()) << c.width << "x" << c.height;
    }
    // A later image is clipped to the first frame's canvas before any limit applies.
    GifBuilder later(4, 4);
    later.GlobalTable(kColors).Image(0, 0, 4, 4, std::vector<uint8_t>(16, 1), 2);
    later.Descriptor(0, 0, 65535, 65535).ImageData(2, {0x0C, 0x00});
    EXPECT_EQ(2, FrameCount(later.Trailer().Data()));
}

TEST(GifHostile, HugeImageFromAFewBytesIsRefused) {
    // 16384 x 4096 indices cannot come out of 3 bytes of codes.
    GifBuilder tiny(1, 1);
    tiny.GlobalTable(kColors).Descriptor(0, 0, 16384, 4096).ImageData(2, {0x0C, 0x00, 0x05});
    EXPECT_EQ(-1, FrameCount(tiny.Trailer().Data()));
    // Small images with little data still decode what there is.
    GifBuilder small(100, 100);
    small.GlobalTable(kColors).Descriptor(0, 0, 100, 100).ImageData(2, {0x0C, 0x00});
    EXPECT_EQ(1, FrameCount(small.Trailer().Data()));
}

TEST(GifHostile, ManyLargeFramesStopAtTheDecoderBudget) {
    // A 4096 x 4096 first frame (its data ends before the end code, which keeps it),
    // then tiny frames each costing a whole canvas: the list stops once the frames
    // hold 256 Mi pixels.
    GifBuilder gif(4096, 4096);
    gif.GlobalTable(kColors)
        .Descriptor(0, 0, 4096, 4096)
        .ImageData(2, std::vector<uint8_t>(4096, 0));
    for (int i = 0; i < 20; ++i) {
        gif.GraphicControl(1, 0).Image(0, 0, 1, 1, {1}, 2);
    }
    EXPECT_EQ(16, FrameCount(gif.Trailer().Data()));
}

TEST(GifHostile, ZeroWidthImagesWriteNoIndex) {
    // Mutated files whose zero-width images of several rows once wrote past the rows.
    for (const char* name : {"gif-index-overflow-1.gif", "gif-index-overflow-2.gif"}) {
        cKvAniDIBList decoder;
        const std::string path = std::string(KVAVTR_SOURCE_DIR) + "/tests/data/gif/" + name;
        decoder.Load(path.c_str());
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
        EXPECT_EQ(1, FrameCount(gif.Data()));
    }
}

}  // namespace
}  // namespace giftest
