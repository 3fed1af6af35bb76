// The demo's animation writer: frames that store only what changed, each with its
// own colour table, decode back to the pictures that were given.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "demo_gif.h"

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;

// The frames as a viewer shows them: each one painted over the one before.
std::vector<std::vector<uint32_t>> Decode(const std::string& path) {
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
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const GifColorType c = d.ColorMap->Colors[image.RasterBits[y * d.Width + x]];
                screen[(d.Top + y) * kWidth + d.Left + x] = c.Red << 16 | c.Green << 8 | c.Blue;
            }
        }
        shown.push_back(screen);
    }
    DGifCloseFile(gif, &error);
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
    const std::string path = (std::filesystem::temp_directory_path() / "kvavtr-demo-gif.gif");
    kvcli::DemoGif gif;
    std::string error;
    ASSERT_TRUE(gif.Open(path, kWidth, kHeight, error)) << error;
    for (const auto& frame : frames) {
        ASSERT_TRUE(gif.AddFrame(frame, 10, error)) << error;
    }
    ASSERT_TRUE(gif.Close(error)) << error;
    EXPECT_EQ(Decode(path), frames);
    std::filesystem::remove(path);
}

TEST(DemoGif, ManyColoursAreQuantizedNotLost) {
    std::vector<uint32_t> frame(kWidth * kHeight);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint32_t>(i * 0x010203);  // 1200 colours
    }
    const std::string path = (std::filesystem::temp_directory_path() / "kvavtr-demo-gif2.gif");
    kvcli::DemoGif gif;
    std::string error;
    ASSERT_TRUE(gif.Open(path, kWidth, kHeight, error) && gif.AddFrame(frame, 10, error) &&
                gif.Close(error))
        << error;
    const auto shown = Decode(path);
    ASSERT_EQ(shown.size(), 1u);
    for (size_t i = 0; i < frame.size(); i += 97) {
        for (int shift : {0, 8, 16}) {
            EXPECT_NEAR(shown[0][i] >> shift & 0xFF, frame[i] >> shift & 0xFF, 48) << i;
        }
    }
    std::filesystem::remove(path);
}

TEST(DemoGif, AnUnwritableFileIsAnError) {
    kvcli::DemoGif gif;
    std::string error;
    EXPECT_FALSE(gif.Open("/nonexistent-folder/x.gif", kWidth, kHeight, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(gif.AddFrame(std::vector<uint32_t>(kWidth * kHeight), 10, error));
}

}  // namespace
