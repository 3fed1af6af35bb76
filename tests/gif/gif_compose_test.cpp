// Frame composition: disposal methods, transparency, placement, carried graphic control.
#include "gif_test_util.h"

namespace giftest {
namespace {

std::vector<CKvAImage*> Decode(cKvAniDIBList& decoder, GifBuilder& gif) {
    EXPECT_EQ(1, LoadBytes(decoder, gif.Trailer().Data()));
    return Frames(decoder);
}

struct LaterFrame {
    int disposal;  // -1: no graphic control, the previous one carries
    int left, top, width, height;
    GifBytes indices;
    int transparentIndex = -1;
};

struct DisposalCase {
    const char* name;
    int firstDisposal;
    std::vector<LaterFrame> frames;
    std::vector<uint16_t> lastRow0, lastRow1;  // the 4 x 2 last frame
    bool lastKeyed;
};

constexpr uint16_t R = kRedPixel, G = kGreenPixel, W = kWhitePixel, Y = kGreyPixel, K = kKey;

class GifDisposal : public testing::TestWithParam<DisposalCase> {};

// The first frame is 4 x 2, red over green.
TEST_P(GifDisposal, LastFrameIs) {
    const DisposalCase& c = GetParam();
    GifBuilder gif(4, 2);
    gif.GlobalTable(kColors).GraphicControl(c.firstDisposal, 10);
    gif.Image(0, 0, 4, 2, {0, 0, 0, 0, 1, 1, 1, 1}, 2);
    for (const LaterFrame& f : c.frames) {
        if (f.disposal >= 0) {
            gif.GraphicControl(f.disposal, 10, f.transparentIndex);
        }
        gif.Image(f.left, f.top, f.width, f.height, f.indices, 2);
    }
    cKvAniDIBList decoder;
    const auto frames = Decode(decoder, gif);
    ASSERT_EQ(c.frames.size() + 1, frames.size());
    CKvAImage& last = *frames.back();
    ASSERT_EQ(4, last.GetWidth());
    ASSERT_EQ(2, last.GetHeight());
    EXPECT_EQ(c.lastRow0, Row(last, 0));
    EXPECT_EQ(c.lastRow1, Row(last, 1));
    EXPECT_EQ(c.lastKeyed, last.HasTransparentColor());
    // Composing never changes an earlier frame.
    EXPECT_EQ((std::vector<uint16_t>{G, G, G, G}), Row(*frames[0], 1));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Gif, GifDisposal, testing::Values(
    // The transparent index keeps the previous frame's pixel.
    DisposalCase{"KeepDrawsOverThePrevious", 1, {{1, 1, 1, 2, 1, {2, 3}, 3}},
                 {R, R, R, R}, {G, W, G, G}, false},
    // Restore-to-background restores the first frame and keys the rectangle.
    DisposalCase{"BackgroundRestoresTheFirstFrameKeyed", 1,
                 {{2, 1, 0, 2, 1, {2, 2}}, {1, 3, 1, 1, 1, {3}}},
                 {R, K, K, R}, {G, G, G, Y}, false},
    DisposalCase{"PreviousStartsFromTheFrameBeforeTheLast", 1,
                 {{3, 0, 0, 4, 1, {2, 2, 2, 2}}, {1, 0, 1, 1, 1, {3}}},
                 {R, R, R, R}, {Y, G, G, G}, false},
    // Without a base the image keeps its column but is placed at row 0.
    DisposalCase{"PreviousOnTheFirstFrameHasNoBase", 3, {{-1, 1, 1, 1, 1, {2}}},
                 {K, W, K, K}, {K, K, K, K}, true},
    DisposalCase{"Unspecified0StartsFromKey", 0, {{-1, 0, 0, 1, 1, {2}}},
                 {W, K, K, K}, {K, K, K, K}, true},
    DisposalCase{"Unspecified4StartsFromKey", 4, {{-1, 0, 0, 1, 1, {2}}},
                 {W, K, K, K}, {K, K, K, K}, true},
    DisposalCase{"Unspecified7StartsFromKey", 7, {{-1, 0, 0, 1, 1, {2}}},
                 {W, K, K, K}, {K, K, K, K}, true},
    // Later frames take the first frame's size and clip to it.
    DisposalCase{"OversizedFrameClipped", 1, {{-1, 2, 1, 5, 3, GifBytes(15, 2)}},
                 {R, R, R, R}, {G, G, W, W}, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(GifCompose, TransparencyAndGraphicControlCarryToLaterFrames) {
    cKvAniDIBList decoder;
    GifBuilder gif(4, 1);
    gif.GlobalTable(kColors).GraphicControl(1, 10, 3).Image(0, 0, 4, 1, {0, 3, 0, 0}, 2);
    const auto frames = Decode(decoder, gif.Image(0, 0, 4, 1, {3, 2, 3, 2}, 2));
    std::vector<unsigned long> delays;
    Frames(decoder, &delays);
    EXPECT_EQ((std::vector<unsigned long>{10, 10}), delays);
    // The first frame keys its transparent index; the second keeps the first's pixel.
    EXPECT_EQ((std::vector<uint16_t>{R, K, R, R}), Row(*frames[0], 0));
    EXPECT_EQ((std::vector<uint16_t>{R, W, R, W}), Row(*frames[1], 0));
}

}  // namespace
}  // namespace giftest
