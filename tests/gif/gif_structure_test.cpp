// File structure: signatures, screen, extensions, block scanning, lists.
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
        {OneFrame("GIF89a").Trailer().Data(), 1},
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

TEST(GifStructure, SingleFrameWidensToEvenWidthWithKeyColumn) {
    cKvAniDIBList decoder;
    GifBuilder gif(7, 3);
    gif.GlobalTable(kColors).Image(0, 0, 5, 1, {0, 1, 2, 3, 0}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    EXPECT_EQ(7, decoder.m_screenWidth);
    EXPECT_EQ(3, decoder.m_screenHeight);
    EXPECT_EQ(1, decoder.m_loopCount);
    std::vector<unsigned long> delays;
    const auto frames = Frames(decoder, &delays);
    EXPECT_EQ(std::vector<unsigned long>{0}, delays);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(1, frames[0]->GetHeight());
    EXPECT_EQ(
        (std::vector<uint16_t>{kRedPixel, kGreenPixel, kWhitePixel, kGreyPixel, kRedPixel, kKey}),
        Row(*frames[0], 0));
}

TEST(GifStructure, IndicesWithoutTableEntryAreBlackAndLocalTablesWin) {
    cKvAniDIBList decoder;
    GifBuilder gif(4, 2);
    gif.GlobalTable({kRed, kGreen})
        .GraphicControl(1, 0)
        .Image(0, 0, 4, 2, {0, 1, 2, 3, 0, 0, 0, 0}, 2)
        .Image(0, 1, 4, 1, {0, 1, 0, 1}, 2, false, {kWhite, kGrey})
        .Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    const auto frames = Frames(decoder);
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ((std::vector<uint16_t>{kRedPixel, kGreenPixel, 0, 0}), Row(*frames[0], 0));
    EXPECT_EQ((std::vector<uint16_t>{kWhitePixel, kGreyPixel, kWhitePixel, kGreyPixel}),
              Row(*frames[1], 1));
}

TEST(GifStructure, LoopCountFromAnyThreeByteApplicationBlock) {
    struct Case {
        std::string identifier;
        GifBytes firstBlock;
        int loop;
    };
    const Case cases[] = {
        {"NETSCAPE2.0", {1, 5, 0}, 5},
        {"ANIMEXTS1.0", {1, 0x34, 0x12}, 0x1234},
        {"WHATEVER123", {9, 0, 0}, 0},
        {"XMP DataXMP", {1, 2}, 1},        // two bytes: not a loop block
        {"NETSCAPE2.0", {1, 7, 0, 0}, 1},  // four bytes
    };
    for (const Case& c : cases) {
        cKvAniDIBList decoder;
        GifBuilder gif(2, 1);
        gif.GlobalTable({kRed, kGreen}).Application(c.identifier, {c.firstBlock, {1, 2, 3}});
        gif.Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
        ASSERT_EQ(1, LoadBytes(decoder, gif.Data())) << c.identifier;
        EXPECT_EQ(c.loop, decoder.m_loopCount) << c.identifier;
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

    for (const GifBytes& junk : {GifBytes{0x99}, GifBytes{0x21, 0x42, 0}, GifBytes{0x00}}) {
        GifBuilder gif(2, 1);
        gif.GlobalTable({kRed, kGreen}).Image(0, 0, 2, 1, {0, 1}, 2).Raw(junk);
        EXPECT_EQ(1, FrameCount(gif.Image(0, 0, 2, 1, {1, 0}, 2).Trailer().Data()));
    }
    // The same junk before the first image: nothing loads.
    GifBuilder gif(2, 1);
    gif.GlobalTable({kRed, kGreen}).Raw({0x99}).Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
    EXPECT_EQ(-1, FrameCount(gif.Data()));
}

TEST(GifStructure, SecondLoadAndCopyAppendAndLoadFromMemoryMatches) {
    cKvAniDIBList decoder;
    GifBuilder first(2, 1);
    first.GlobalTable({kRed, kGreen}).Loop(3).Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, first.Data()));
    EXPECT_EQ(3, decoder.m_loopCount);
    ASSERT_EQ(1, decoder.Copy());
    EXPECT_EQ(2u, Frames(decoder).size());

    GifBuilder second(2, 1);
    second.GlobalTable({kWhite, kGrey}).Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
    ASSERT_EQ(1, decoder.LoadFromMemory(second.Data().data(), second.Data().size()));
    EXPECT_EQ(1, decoder.m_loopCount);  // reset by each load
    const auto frames = Frames(decoder);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ((std::vector<uint16_t>{kWhitePixel, kGreyPixel}), Row(*frames[2], 0));
    EXPECT_EQ(0, decoder.LoadFromMemory(second.Data().data(), 12));
}

TEST(GifStructure, FramesOutliveADecoderThatDoesNotOwnThem) {
    std::vector<CKvAImage*> frames;
    {
        cKvAniDIBList decoder;
        decoder.m_ownsFrames = false;
        ASSERT_EQ(1, LoadBytes(decoder, OneFrame().Trailer().Data()));
        frames = Frames(decoder);
    }
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(kGreenPixel, Pixel(*frames[0], 1, 0));  // a freed frame fails under ASan
    delete frames[0];
}

TEST(GifStructure, SpriteExportRunsOverKeyPixels) {
    // key key A B key C key key key key, through a transparent index.
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
    const lsp::SPRITE* sprite = sprites[1];
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(10, sprite->width);
    EXPECT_EQ(1, sprite->height);
    const uint16_t* row = sprite->rows[0];
    EXPECT_EQ((std::vector<uint16_t>{2, 2, kRedPixel, kGreenPixel, 1, 1, kWhitePixel, 4, 0}),
              std::vector<uint16_t>(row, row + 9));
    lsp::FreeSprite(sprites[1]);
}

}  // namespace
}  // namespace giftest
