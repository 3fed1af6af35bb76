// Frame composition: disposal methods, transparency, placement, carried graphic control.
#include "gif_test_util.h"

namespace giftest {
namespace {

const std::vector<Rgb> kColors{kRed, kGreen, kWhite, kGrey};

// A 4 x 2 first frame of red, green on the second row, then the test's frames.
GifBuilder Animation(int firstDisposal, int transparentIndex = -1) {
    GifBuilder gif(4, 2);
    gif.GlobalTable(kColors).GraphicControl(firstDisposal, 10, transparentIndex);
    gif.Image(0, 0, 4, 2, {0, 0, 0, 0, 1, 1, 1, 1}, 2);
    return gif;
}

std::vector<CKvAImage*> Decode(cKvAniDIBList& decoder, GifBuilder& gif) {
    EXPECT_EQ(1, LoadBytes(decoder, gif.Trailer().Data()));
    return Frames(decoder);
}

TEST(GifCompose, FirstFrameTransparentPixelsAreKey) {
    cKvAniDIBList decoder;
    GifBuilder gif(4, 1);
    gif.GlobalTable(kColors).GraphicControl(0, 0, 2).Image(0, 0, 4, 1, {0, 2, 1, 2}, 2);
    const auto frames = Decode(decoder, gif);
    EXPECT_EQ((std::vector<uint16_t>{kRedPixel, kKey, kGreenPixel, kKey}), Row(*frames[0], 0));
    EXPECT_TRUE(frames[0]->HasTransparentColor());
}

TEST(GifCompose, KeepDisposalDrawsOverThePreviousFrame) {
    cKvAniDIBList decoder;
    GifBuilder gif = Animation(1);
    gif.GraphicControl(1, 10, 3).Image(1, 1, 2, 1, {2, 3}, 2);
    const auto frames = Decode(decoder, gif);
    ASSERT_EQ(2u, frames.size());
    // The transparent index keeps the first frame's pixel.
    EXPECT_EQ((std::vector<uint16_t>{kGreenPixel, kWhitePixel, kGreenPixel, kGreenPixel}),
              Row(*frames[1], 1));
    EXPECT_EQ(std::vector<uint16_t>(4, kRedPixel), Row(*frames[1], 0));
    EXPECT_FALSE(frames[1]->HasTransparentColor());
    // Composing never changes an earlier frame.
    EXPECT_EQ(std::vector<uint16_t>(4, kGreenPixel), Row(*frames[0], 1));
}

TEST(GifCompose, FirstFrameDisposalRestoresTheFirstFrameAndKeysTheRectangle) {
    cKvAniDIBList decoder;
    GifBuilder gif = Animation(1);
    gif.GraphicControl(2, 10).Image(1, 0, 2, 1, {2, 2}, 2);  // frame 1 at (1,0)-(3,1)
    gif.GraphicControl(1, 10).Image(3, 1, 1, 1, {3}, 2);
    const auto frames = Decode(decoder, gif);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ((std::vector<uint16_t>{kRedPixel, kKey, kKey, kRedPixel}), Row(*frames[2], 0));
    EXPECT_EQ((std::vector<uint16_t>{kGreenPixel, kGreenPixel, kGreenPixel, kGreyPixel}),
              Row(*frames[2], 1));
}

TEST(GifCompose, PreviousDisposalStartsFromTheFrameBeforeTheLast) {
    cKvAniDIBList decoder;
    GifBuilder gif = Animation(1);
    gif.GraphicControl(3, 10).Image(0, 0, 4, 1, {2, 2, 2, 2}, 2);
    gif.GraphicControl(1, 10).Image(0, 1, 1, 1, {3}, 2);
    const auto frames = Decode(decoder, gif);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ(std::vector<uint16_t>(4, kRedPixel), Row(*frames[2], 0));
    EXPECT_EQ((std::vector<uint16_t>{kGreyPixel, kGreenPixel, kGreenPixel, kGreenPixel}),
              Row(*frames[2], 1));
}

TEST(GifCompose, PreviousDisposalOnTheFirstFrameHasNoBase) {
    cKvAniDIBList decoder;
    GifBuilder gif = Animation(3);
    gif.Image(1, 1, 1, 1, {2}, 2);
    const auto frames = Decode(decoder, gif);
    ASSERT_EQ(2u, frames.size());
    // Without a base the image keeps its column but is placed at row 0.
    EXPECT_EQ((std::vector<uint16_t>{kKey, kWhitePixel, kKey, kKey}), Row(*frames[1], 0));
    EXPECT_EQ(std::vector<uint16_t>(4, kKey), Row(*frames[1], 1));
    EXPECT_TRUE(frames[1]->HasTransparentColor());
}

TEST(GifCompose, UnspecifiedDisposalsStartFromKey) {
    for (int disposal : {0, 4, 7}) {
        cKvAniDIBList decoder;
        GifBuilder gif = Animation(disposal);
        gif.Image(0, 0, 1, 1, {2}, 2);
        const auto frames = Decode(decoder, gif);
        ASSERT_EQ(2u, frames.size());
        EXPECT_EQ((std::vector<uint16_t>{kWhitePixel, kKey, kKey, kKey}), Row(*frames[1], 0))
            << disposal;
    }
}

TEST(GifCompose, GraphicControlCarriesToLaterFrames) {
    cKvAniDIBList decoder;
    GifBuilder gif = Animation(1, 3);
    gif.Image(0, 0, 4, 1, {3, 2, 3, 2}, 2);
    const auto frames = Decode(decoder, gif);
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ((std::vector<unsigned long>{10, 10}), Delays(decoder));
    EXPECT_EQ(10u, decoder.m_gcDelay);
    // Disposal 1 and index 3 transparent still hold for frame 2.
    EXPECT_EQ((std::vector<uint16_t>{kRedPixel, kWhitePixel, kRedPixel, kWhitePixel}),
              Row(*frames[1], 0));
}

TEST(GifCompose, LaterFramesTakeTheFirstFrameSizeAndClipToIt) {
    cKvAniDIBList decoder;
    GifBuilder gif = Animation(1);
    gif.Image(2, 1, 5, 3, std::vector<uint8_t>(15, 2), 2);
    const auto frames = Decode(decoder, gif);
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(4, frames[1]->GetWidth());
    EXPECT_EQ(2, frames[1]->GetHeight());
    EXPECT_EQ((std::vector<uint16_t>{kGreenPixel, kGreenPixel, kWhitePixel, kWhitePixel}),
              Row(*frames[1], 1));
}

TEST(GifCompose, InterlacedRowsLandInDisplayOrder) {
    for (int height : {1, 2, 3, 5, 8, 9, 17}) {
        std::vector<uint8_t> indices;
        for (int y = 0; y < height; ++y) {
            indices.insert(indices.end(),
                           {static_cast<uint8_t>(y % 4), static_cast<uint8_t>((y + 1) % 4)});
        }
        cKvAniDIBList decoder;
        GifBuilder gif(2, height);
        gif.GlobalTable(kColors).Image(0, 0, 2, height, indices, 2, true);
        const auto frames = Decode(decoder, gif);
        ASSERT_EQ(1u, frames.size());
        const uint16_t pixels[4] = {kRedPixel, kGreenPixel, kWhitePixel, kGreyPixel};
        for (int y = 0; y < height; ++y) {
            EXPECT_EQ((std::vector<uint16_t>{pixels[y % 4], pixels[(y + 1) % 4]}),
                      Row(*frames[0], y))
                << "height " << height << " row " << y;
        }
    }
}

TEST(GifCompose, InterlacedHeightThreeTakesRowsZeroTwoOne) {
    // Three single-index rows in stream order A, B, C.
    cKvAniDIBList decoder;
    GifBuilder gif(2, 3);
    gif.GlobalTable(kColors)
        .Descriptor(0, 0, 2, 3, true)
        .ImageData(2, kvtest::LzwEncode({0, 0, 1, 1, 2, 2}, 2));
    const auto frames = Decode(decoder, gif);
    EXPECT_EQ(kRedPixel, Pixel(*frames[0], 0, 0));
    EXPECT_EQ(kGreenPixel, Pixel(*frames[0], 0, 2));
    EXPECT_EQ(kWhitePixel, Pixel(*frames[0], 0, 1));
}

}  // namespace
}  // namespace giftest
