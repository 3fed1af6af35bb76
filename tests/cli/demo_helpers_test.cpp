#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "demo_font.h"
#include "demo_gif.h"
#include "demo_layout.h"
#include "support/bmp_builder.h"

namespace {

using kvcli::DemoCell;

bool Overlap(const DemoCell& a, const DemoCell& b) {
    return a.at.x < b.at.x + b.size.cx && b.at.x < a.at.x + a.size.cx &&
           a.at.y < b.at.y + b.size.cy && b.at.y < a.at.y + a.size.cy;
}

TEST(DemoLayout, CellsKeepApartInsideThePicture) {
    std::vector<DemoCell> cells;
    const std::pair<const char*, int> sections[] = {
        {"layered", 14}, {"legacy", 9}, {"anonymous", 7}, {"animated", 8}};
    for (const auto& [section, count] : sections) {
        for (int i = 0; i < count; ++i) {
            cells.emplace_back(section, "id", "options", SIZE{22 + i * 7 % 79, 32 + i * 11 % 89});
        }
    }
    const SIZE size = kvcli::LayOut(cells);
    for (size_t i = 0; i < cells.size(); ++i) {
        EXPECT_GE(cells[i].at.x, 0);
        EXPECT_LE(cells[i].at.x + cells[i].size.cx, size.cx);
        EXPECT_LE(cells[i].at.y + cells[i].size.cy, size.cy);
        for (size_t j = i + 1; j < cells.size(); ++j) {
            EXPECT_FALSE(Overlap(cells[i], cells[j])) << i << " " << j;
            if (cells[i].section != cells[j].section) {
                EXPECT_GT(cells[j].at.y, cells[i].at.y + cells[i].size.cy) << i << " " << j;
            }
        }
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
    kvcli::PaintBackdrop({pixels.data(), size.cx, size.cy}, cells);
    EXPECT_NE(pixels.front(), pixels[cells[0].at.y * size.cx + cells[0].at.x]);
}

TEST(DemoFont, TextClipsAtTheEdgesOfItsRows) {
    std::vector<uint32_t> pixels(10 * 6 + 1, 0);
    const kvcli::PixelRows rows{pixels.data(), 10, 6};
    kvcli::DrawText(rows, -2, -3, "WWWWWW", 1);
    kvcli::DrawText(rows, 7, 4, "#", 1);
    EXPECT_EQ(pixels.back(), 0u);  // the word past the rows
    EXPECT_EQ(pixels[5 * 10 + 9], 1u);
}

TEST(DemoFont, WrapsAfterUnderscoresAndAtSpaces) {
    const struct {
        const char* text;
        size_t width;
        const char* wrapped;
    } cases[] = {
        {"lcm001_hcm001_fnm001a", 14, "lcm001_hcm001_\nfnm001a"},
        {"com, slow download", 10, "com, slow\ndownload"},
        {"NNN0121001001N010000000000", 10, "NNN0121001\n001N010000\n000000"},
        {"short", 10, "short"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kvcli::WrapText(c.text, c.width), c.wrapped) << c.text;
    }
}

constexpr int kWidth = 40;
constexpr int kHeight = 30;

// Writes the frames and reads them back as a viewer shows them: each painted over the last.
std::vector<std::vector<uint32_t>> RoundTrip(const std::vector<std::vector<uint32_t>>& frames) {
    const std::string folder = kvtest::MakeTempFolder();
    const std::string path = folder + "/demo.gif";
    kvcli::DemoGif writer;
    std::string text;
    EXPECT_TRUE(writer.Open(path, kWidth, kHeight, text)) << text;
    for (const auto& frame : frames) {
        EXPECT_TRUE(writer.AddFrame(frame, 10, text)) << text;
    }
    EXPECT_TRUE(writer.Close(text)) << text;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    std::vector<std::vector<uint32_t>> shown;
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        return shown;
    }
    std::vector<uint32_t> screen(kWidth * kHeight, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        for (int i = 0; i < d.Width * d.Height; ++i) {
            const GifColorType c = d.ColorMap->Colors[image.RasterBits[i]];
            screen[(d.Top + i / d.Width) * kWidth + d.Left + i % d.Width] =
                c.Red << 16 | c.Green << 8 | c.Blue;
        }
        shown.push_back(screen);
    }
    DGifCloseFile(gif, &error);
    std::filesystem::remove_all(folder);
    return shown;
}

TEST(DemoGif, FramesDecodeToWhatWasGiven) {
    std::vector<std::vector<uint32_t>> frames(4, std::vector<uint32_t>(kWidth * kHeight, 0xF4F4F4));
    frames[1][5 * kWidth + 7] = 0x102030;  // one pixel changes
    frames[2] = frames[1];                 // nothing changes
    frames[3] = frames[2];
    for (int y = 10; y < 20; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            frames[3][y * kWidth + x] =
                static_cast<uint32_t>(x % 16 * 16) << 16 | y * 20 << 8;  // 160 colours
        }
    }
    EXPECT_EQ(RoundTrip(frames), frames);
}

TEST(DemoGif, ManyColoursAreQuantizedNotLost) {
    std::vector<uint32_t> frame(kWidth * kHeight);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint32_t>(i * 0x010203);  // 1200 colours
    }
    const auto shown = RoundTrip({frame});
    ASSERT_EQ(shown.size(), 1u);
    for (size_t i = 0; i < frame.size(); i += 97) {
        for (int shift : {0, 8, 16}) {
            EXPECT_NEAR(shown[0][i] >> shift & 0xFF, frame[i] >> shift & 0xFF, 48) << i;
        }
    }
}

}  // namespace
