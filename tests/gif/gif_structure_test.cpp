// File structure, block scanning, frame lists and frame composition.
#include "gif_test_util.h"

namespace giftest {
namespace {

GifBuilder OneFrame(const char* signature = "GIF89a") {
    GifBuilder gif(2, 1, signature);
    gif.GlobalTable({kRed, kGreen}).Image(0, 0, 2, 1, {0, 1}, 2);
    return gif;
}

TEST(GifStructure, SignaturesShortFilesAndFilesWithoutImages) {
    const std::pair<GifBytes, int> files[] = {
        {OneFrame("GIF87a").Trailer().Data(), 1},
        {OneFrame("GIF89b").Trailer().Data(), -1},
        {OneFrame("GIF88a").Trailer().Data(), -1},
        {OneFrame("gif89a").Trailer().Data(), -1},
        {OneFrame().Truncate(12).Data(), -1},
        {GifBuilder(4, 4).Trailer().Data(), -1},
        // The global table promises 256 entries but the file ends.
        {GifBuilder(4, 4).GlobalTable(std::vector<Rgb>(256)).Truncate(100).Data(), -1},
    };
    for (const auto& [bytes, frames] : files) {
        EXPECT_EQ(frames, FrameCount(bytes)) << std::string(bytes.begin(), bytes.begin() + 6);
    }
    cKvAniDIBList decoder;
    EXPECT_EQ(0, decoder.Load(TempPath("missing.gif").c_str()));
    EXPECT_EQ(kvgif::GifError::kNoFile, decoder.LastError());
    EXPECT_EQ(0, decoder.Load(nullptr));
    EXPECT_TRUE(Frames(decoder).empty());
}

TEST(GifStructure, SingleFrameWidensWithKeyColumnAndIndicesPastTheTableAreBlack) {
    cKvAniDIBList decoder;
    GifBuilder gif(7, 3);
    gif.GlobalTable({kRed, kGreen}).Image(0, 0, 5, 1, {0, 1, 2, 3, 0}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    EXPECT_EQ((std::tuple{7, 3, 1}),
              std::tie(decoder.m_screenWidth, decoder.m_screenHeight, decoder.m_loopCount));
    std::vector<unsigned long> delays;
    const auto frames = Frames(decoder, &delays);
    ASSERT_EQ(std::vector<unsigned long>{0}, delays);
    EXPECT_EQ(1, frames[0]->GetHeight());
    EXPECT_EQ((std::vector<uint16_t>{kRedPixel, kGreenPixel, 0, 0, kRedPixel, kKey}),
              Row(*frames[0], 0));
}

TEST(GifStructure, LoopCountFromAnyThreeByteApplicationBlock) {
    const std::tuple<std::string, GifBytes, int> cases[] = {
        {"NETSCAPE2.0", {1, 5, 0}, 5},
        {"ANIMEXTS1.0", {1, 0x34, 0x12}, 0x1234},
        {"WHATEVER123", {9, 0, 0}, 0},
        {"XMP DataXMP", {1, 2}, 1},        // two bytes: not a loop block
        {"NETSCAPE2.0", {1, 7, 0, 0}, 1},  // four bytes
    };
    for (const auto& [identifier, firstBlock, loop] : cases) {
        cKvAniDIBList decoder;
        GifBuilder gif(2, 1);
        gif.GlobalTable({kRed, kGreen}).Application(identifier, {firstBlock, {1, 2, 3}});
        ASSERT_EQ(1, LoadBytes(decoder, gif.Image(0, 0, 2, 1, {0, 1}, 2).Trailer().Data()));
        EXPECT_EQ(loop, decoder.m_loopCount) << identifier;
    }
}

TEST(GifStructure, ExtensionsAreSkippedAndUnknownBlocksEndTheFrameList) {
    GifBuilder skipped(2, 1);
    skipped.GlobalTable({kRed, kGreen}).Comment(std::string(600, 'c')).Image(0, 0, 2, 1, {0, 1}, 2);
    skipped.Application("SOMEAPP1.00", {{1, 2, 3, 4, 5}, GifBytes(255, 7)}).PlainText("hello");
    EXPECT_EQ(2, FrameCount(skipped.Comment("").Image(0, 0, 2, 1, {1, 0}, 2).Trailer().Data()));
    // A stray byte after the end code in the last sub-block: only one byte is skipped
    // after the image, so the scan meets the terminator and stops.
    GifBytes stray = kvtest::LzwEncode({0, 1}, 2);
    stray.push_back(0x2C);
    GifBuilder strayGif(2, 1);
    strayGif.GlobalTable({kRed, kGreen}).Descriptor(0, 0, 2, 1).ImageData(2, stray);
    EXPECT_EQ(1, FrameCount(strayGif.Image(0, 0, 2, 1, {1, 0}, 2).Trailer().Data()));
    // Junk where a block starts ends the list; before the first image nothing loads.
    for (const GifBytes& junk : {GifBytes{0x99}, GifBytes{0x21, 0x42, 0}, GifBytes{0x00}}) {
        EXPECT_EQ(1,
                  FrameCount(OneFrame().Raw(junk).Image(0, 0, 2, 1, {1, 0}, 2).Trailer().Data()));
    }
    GifBuilder gif(2, 1);
    EXPECT_EQ(-1, FrameCount(gif.Raw({0x99}).Image(0, 0, 2, 1, {0, 1}, 2).Trailer().Data()));
}

// The local table wins over the global one.
TEST(GifStructure, SecondLoadAndCopyAppendAndLoadFromMemoryMatches) {
    cKvAniDIBList decoder;
    ASSERT_EQ(1, LoadBytes(decoder, OneFrame().Loop(3).Trailer().Data()));
    EXPECT_EQ(3, decoder.m_loopCount);
    ASSERT_EQ(1, decoder.Copy());
    EXPECT_EQ(2u, Frames(decoder).size());
    GifBuilder second(2, 1);
    second.GlobalTable({kRed, kGreen}).Image(0, 0, 2, 1, {0, 1}, 2, false, {kWhite, kGrey});
    const GifBytes& bytes = second.Trailer().Data();
    ASSERT_EQ(1, decoder.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(1, decoder.m_loopCount);  // reset by each load
    const auto frames = Frames(decoder);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ((std::vector<uint16_t>{kWhitePixel, kGreyPixel}), Row(*frames[2], 0));
    EXPECT_EQ(0, decoder.LoadFromMemory(bytes.data(), 12));
}

TEST(GifStructure, FramesOutliveADecoderThatDoesNotOwnThem) {
    auto decoder = std::make_unique<cKvAniDIBList>();
    decoder->m_ownsFrames = false;
    ASSERT_EQ(1, LoadBytes(*decoder, OneFrame().Trailer().Data()));
    const auto frames = Frames(*decoder);
    decoder.reset();
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(kGreenPixel, Row(*frames[0], 0)[1]);  // a freed frame fails under ASan
    delete frames[0];
}

TEST(GifStructure, SpriteExportRunsOverKeyPixels) {
    cKvAniDIBList decoder;
    GifBuilder gif(10, 1);
    gif.GlobalTable(kColors).GraphicControl(0, 7, 3);
    gif.Image(0, 0, 10, 1, {3, 3, 0, 1, 3, 2, 3, 3, 3, 3}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    std::vector<lsp::SPRITE*> sprites{nullptr};  // existing entries stay
    std::vector<unsigned long> delays{99, 98};
    decoder.exportImageList(sprites, delays);
    ASSERT_EQ(2u, sprites.size());
    EXPECT_EQ(std::vector<unsigned long>{7}, delays);
    ASSERT_NE(nullptr, sprites[1]);
    ASSERT_EQ((std::pair{10, 1}), (std::pair{sprites[1]->width, sprites[1]->height}));
    const uint16_t* row = sprites[1]->rows[0];
    EXPECT_EQ((std::vector<uint16_t>{2, 2, kRedPixel, kGreenPixel, 1, 1, kWhitePixel, 4, 0}),
              std::vector<uint16_t>(row, row + 9));
    lsp::FreeSprite(sprites[1]);
}

struct LaterFrame {
    int disposal, left, top, width, height;  // disposal -1: the previous graphic control carries
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
    ASSERT_EQ(1, LoadBytes(decoder, gif.Trailer().Data()));
    std::vector<unsigned long> delays;
    const auto frames = Frames(decoder, &delays);
    ASSERT_EQ(c.frames.size() + 1, frames.size());
    EXPECT_EQ(std::vector<unsigned long>(frames.size(), 10), delays);  // carried too
    CKvAImage& last = *frames.back();
    ASSERT_EQ((std::pair{4, 2}), (std::pair{last.GetWidth(), last.GetHeight()}));
    EXPECT_EQ(c.lastRow0, Row(last, 0));
    EXPECT_EQ(c.lastRow1, Row(last, 1));
    EXPECT_EQ(c.lastKeyed, last.HasTransparentColor());
    // Composing never changes an earlier frame.
    EXPECT_EQ((std::vector<uint16_t>{G, G, G, G}), Row(*frames[0], 1));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Gif, GifDisposal, testing::ValuesIn(std::vector<DisposalCase>{
    // The transparent index keeps the previous frame's pixel, and carries to a frame
    // without graphic control.
    {"KeepDrawsOverThePrevious", 1, {{1, 1, 1, 2, 1, {2, 3}, 3}, {-1, 0, 0, 1, 1, {3}}},
                 {R, R, R, R}, {G, W, G, G}, false},
    // Restore-to-background restores the first frame and keys the rectangle.
    {"BackgroundRestoresTheFirstFrameKeyed", 1,
                 {{2, 1, 0, 2, 1, {2, 2}}, {1, 3, 1, 1, 1, {3}}},
                 {R, K, K, R}, {G, G, G, Y}, false},
    {"PreviousStartsFromTheFrameBeforeTheLast", 1,
                 {{3, 0, 0, 4, 1, {2, 2, 2, 2}}, {1, 0, 1, 1, 1, {3}}},
                 {R, R, R, R}, {Y, G, G, G}, false},
    // Without a base the image keeps its column but is placed at row 0.
    {"PreviousWithoutBase", 3, {{-1, 1, 1, 1, 1, {2}}}, {K, W, K, K}, {K, K, K, K}, true},
    {"Unspecified0StartsFromKey", 0, {{-1, 0, 0, 1, 1, {2}}}, {W, K, K, K}, {K, K, K, K}, true},
    {"Unspecified7StartsFromKey", 7, {{-1, 0, 0, 1, 1, {2}}}, {W, K, K, K}, {K, K, K, K}, true},
    // Later frames take the first frame's size and clip to it.
    {"Oversized", 1, {{-1, 2, 1, 5, 3, GifBytes(15, 2)}}, {R, R, R, R}, {G, G, W, W}, false}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace giftest
