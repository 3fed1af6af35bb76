// The whole road from part files on disk to pixels in a device context.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fake_clock.h"
#include "layered/default_avatars.h"
#include "layered_fixture.h"
#include "support/gif_builder.h"

namespace layered_test {
namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A width × height GIF of the given frames: each frame blue (transparent in a
// part) with a block (left, top, 10 × 10) of its colour index.
struct GifFrame {
    uint8_t index;
    int left;
    int top;
    int delay;
};

void WriteGif(const std::string& path, int width, int height, const std::vector<GifFrame>& frames) {
    kvtest::GifBuilder gif(width, height);
    gif.GlobalTable({{0, 0, 255}, {255, 0, 0}, {0, 0, 0}, {255, 255, 0}});
    for (const GifFrame& frame : frames) {
        kvtest::GifBytes indices(static_cast<size_t>(width) * height, 0);
        for (int y = frame.top; y < frame.top + 10; ++y) {
            for (int x = frame.left; x < frame.left + 10; ++x) {
                indices[y * width + x] = frame.index;
            }
        }
        gif.GraphicControl(1, frame.delay).Image(0, 0, width, height, indices, 2);
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(gif.Trailer().WriteFile(path));
}

using GifPartsTest = PoolTest;

TEST_F(GifPartsTest, CachedPartFileIsDecodedAndAnimated) {
    FakeClock clock;
    WriteGif(m_folder + "/cache/lc/lcm001.gif", 100, 120, {{1, 30, 10, 10}, {2, 30, 10, 3}});
    TestAvatar avatar;
    char id[] = "lcm001_hcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0x00FFFFFF));
    ASSERT_TRUE(InPool("lcm001"));
    EXPECT_EQ(1, UseCount("lcm001"));
    Canvas first(46, 102, kGreen);
    avatar.Draw(first.dc(), 0, 0, 'M', false, 0);
    EXPECT_EQ(kRed, first.At(3, 5));
    EXPECT_EQ(kWhite, first.At(2, 5));
    clock.Advance(101);
    Canvas second(46, 102, kGreen);
    avatar.Draw(second.dc(), 0, 0, 'M', false, 0);
    EXPECT_EQ(kBlack, second.At(12, 14));
}

TEST_F(GifPartsTest, DefaultImagesComeFromTheImageFolder) {
    WriteGif(m_folder + "/images/ACFS_LCF001_HCF001_FNF001A_PNF001.gif", 50, 60, {{3, 14, 0, 0}});
    InitDefaultAvatars();
    Canvas canvas(22, 52, kGreen);
    DrawDefaultAvatar(canvas.dc(), 0, 0, 1, 1, 'F', true, 0);
    EXPECT_EQ(RGB(255, 255, 0), canvas.At(0, 0));
    EXPECT_EQ(RGB(255, 255, 0), canvas.At(9, 9));
    EXPECT_EQ(kWhite, canvas.At(10, 10));
    EXPECT_EQ(2, UseCount("ACFS_LCF001_HCF001_FNF001A_PNF001"));
}

}  // namespace
}  // namespace layered_test
