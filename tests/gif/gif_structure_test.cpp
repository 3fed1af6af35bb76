// File structure: signatures, screen, extensions, block scanning, lists.
#include "gif_test_util.h"

namespace giftest {
namespace {

GifBuilder OneFrame(const char* signature = "GIF89a") {
    GifBuilder gif(2, 1, signature);
    gif.GlobalTable({kRed, kGreen}).Image(0, 0, 2, 1, {0, 1}, 2);
    return gif;
}

struct SignatureCase {
    const char* signature;
    int expected;
};

class Signature : public testing::TestWithParam<SignatureCase> {};

TEST_P(Signature, OnlyGif87aAndGif89aLoad) {
    cKvAniDIBList decoder;
    EXPECT_EQ(GetParam().expected,
              LoadBytes(decoder, OneFrame(GetParam().signature).Trailer().Data()));
}

INSTANTIATE_TEST_SUITE_P(Gif, Signature,
                         testing::Values(SignatureCase{"GIF87a", 1}, SignatureCase{"GIF89a", 1},
                                         SignatureCase{"GIF89b", 0}, SignatureCase{"GIF88a", 0},
                                         SignatureCase{"gif89a", 0}));

TEST(GifStructure, ShortFilesAndFilesWithoutImagesDoNotLoad) {
    cKvAniDIBList decoder;
    EXPECT_EQ(0, LoadBytes(decoder, OneFrame().Truncate(12).Data()));
    EXPECT_EQ(0, LoadBytes(decoder, GifBuilder(4, 4).Trailer().Data()));
    EXPECT_EQ(0, LoadBytes(decoder, GifBuilder(4, 4).Data()));
    // The global table promises 256 entries but the file ends.
    EXPECT_EQ(0,
              LoadBytes(decoder,
                        GifBuilder(4, 4).GlobalTable(std::vector<Rgb>(256)).Truncate(100).Data()));
    EXPECT_EQ(0, decoder.Load(TempPath("missing.gif").c_str()));
    EXPECT_EQ(0, decoder.Load(nullptr));
    EXPECT_TRUE(Frames(decoder).empty());
}

TEST(GifStructure, SingleFrameWithoutGraphicControl) {
    cKvAniDIBList decoder;
    GifBuilder gif(7, 3);
    gif.GlobalTable({kRed, kGreen, kWhite, kGrey}).Image(0, 0, 5, 1, {0, 1, 2, 3, 0}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    EXPECT_EQ(7, decoder.m_screenWidth);
    EXPECT_EQ(3, decoder.m_screenHeight);
    EXPECT_EQ(1, decoder.m_loopCount);
    EXPECT_EQ(0u, decoder.m_gcDelay);
    EXPECT_EQ(std::vector<unsigned long>{0}, Delays(decoder));
    const auto frames = Frames(decoder);
    ASSERT_EQ(1u, frames.size());
    // Five columns widen to an even six; the sixth stays the key.
    EXPECT_EQ(6, frames[0]->GetWidth());
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
        kvtest::GifBytes firstBlock;
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

TEST(GifStructure, CommentsPlainTextAndForeignApplicationsAreSkipped) {
    cKvAniDIBList decoder;
    GifBuilder gif(2, 1);
    gif.GlobalTable({kRed, kGreen})
        .Comment(std::string(600, 'c'))
        .Image(0, 0, 2, 1, {0, 1}, 2)
        .Application("SOMEAPP1.00", {{1, 2, 3, 4, 5}, kvtest::GifBytes(255, 7)})
        .PlainText("hello")
        .Comment("")
        .Image(0, 0, 2, 1, {1, 0}, 2)
        .Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    EXPECT_EQ(2u, Frames(decoder).size());
}

TEST(GifStructure, UnknownBlocksAndLabelsEndTheFrameList) {
    for (const kvtest::GifBytes& junk : {kvtest::GifBytes{0x99}, kvtest::GifBytes{0x21, 0x42, 0}}) {
        cKvAniDIBList decoder;
        GifBuilder gif(2, 1);
        gif.GlobalTable({kRed, kGreen}).Image(0, 0, 2, 1, {0, 1}, 2).Raw(junk);
        gif.Image(0, 0, 2, 1, {1, 0}, 2).Trailer();
        ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
        EXPECT_EQ(1u, Frames(decoder).size());
    }
    // The same junk before the first image: nothing loads.
    cKvAniDIBList decoder;
    GifBuilder gif(2, 1);
    gif.GlobalTable({kRed, kGreen}).Raw({0x99}).Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
    EXPECT_EQ(0, LoadBytes(decoder, gif.Data()));
}

TEST(GifStructure, ZeroByteBlockEndsTheAnimation) {
    cKvAniDIBList decoder;
    GifBuilder gif(2, 1);
    gif.GlobalTable({kRed, kGreen}).Image(0, 0, 2, 1, {0, 1}, 2).Raw({0x00});
    gif.Image(0, 0, 2, 1, {1, 0}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    EXPECT_EQ(1u, Frames(decoder).size());
}

TEST(GifStructure, BytesLeftAfterTheEndCodeAreScannedAsBlocks) {
    // The encoder put a stray byte after the end code in the last sub-block: only one
    // byte is skipped after the image, so the scan meets the terminator and stops.
    cKvAniDIBList decoder;
    kvtest::GifBytes data = kvtest::LzwEncode({0, 1}, 2);
    data.push_back(0x2C);
    GifBuilder gif(2, 1);
    gif.GlobalTable({kRed, kGreen}).Descriptor(0, 0, 2, 1).ImageData(2, data);
    gif.Image(0, 0, 2, 1, {1, 0}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
    EXPECT_EQ(1u, Frames(decoder).size());
}

TEST(GifStructure, SecondLoadAndSecondCopyAppend) {
    cKvAniDIBList decoder;
    GifBuilder first(2, 1);
    first.GlobalTable({kRed, kGreen}).Loop(3).Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, first.Data()));
    EXPECT_EQ(3, decoder.m_loopCount);
    ASSERT_EQ(1, decoder.Copy());
    EXPECT_EQ(2u, Frames(decoder).size());

    GifBuilder second(2, 1);
    second.GlobalTable({kWhite, kGrey}).Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
    ASSERT_EQ(1, LoadBytes(decoder, second.Data()));
    EXPECT_EQ(1, decoder.m_loopCount);  // reset by Load
    const auto frames = Frames(decoder);
    ASSERT_EQ(3u, frames.size());
    EXPECT_EQ((std::vector<uint16_t>{kWhitePixel, kGreyPixel}), Row(*frames[2], 0));
}

TEST(GifStructure, LoadFromMemoryMatchesLoad) {
    GifBuilder gif(3, 2);
    gif.GlobalTable({kRed, kGreen, kWhite}).Image(0, 0, 3, 2, {0, 1, 2, 2, 1, 0}, 2).Trailer();
    cKvAniDIBList fromFile;
    cKvAniDIBList fromMemory;
    ASSERT_EQ(1, LoadBytes(fromFile, gif.Data()));
    ASSERT_EQ(1, fromMemory.LoadFromMemory(gif.Data().data(), gif.Data().size()));
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(Row(*Frames(fromFile)[0], y), Row(*Frames(fromMemory)[0], y));
    }
    EXPECT_EQ(0, fromMemory.LoadFromMemory(gif.Data().data(), 12));
}

TEST(GifStructure, SpriteExportRunsOverKeyPixels) {
    // key key A B key C key key key key, through a transparent index.
    cKvAniDIBList decoder;
    GifBuilder gif(10, 1);
    gif.GlobalTable({kRed, kGreen, kWhite, kGrey}).GraphicControl(0, 7, 3);
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

TEST(GifStructure, FramesOutliveTheDecoderWhenReleased) {
    std::vector<CKvAImage*> frames;
    std::vector<unsigned long> delays;
    {
        cKvAniDIBList decoder;
        GifBuilder gif(2, 1);
        gif.GlobalTable({kRed, kGreen}).Image(0, 0, 2, 1, {0, 1}, 2).Trailer();
        ASSERT_EQ(1, LoadBytes(decoder, gif.Data()));
        decoder.m_ownsFrames = false;
        decoder.exportImageList(frames, delays);
    }
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(kGreenPixel, Pixel(*frames[0], 1, 0));
    delete frames[0];
}

}  // namespace
}  // namespace giftest
