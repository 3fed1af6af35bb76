#include <gtest/gtest.h>

#include <vector>

#include "layered_fixture.h"

namespace layered_test {
namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A source whose left half is pure blue and right half red.
void PaintHalves(Canvas& source, int width, int height) {
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT right{width / 2, 0, width, height};
    FillRect(source.dc(), &right, red);
    DeleteObject(red);
}

TEST(TransBlt, BlueLeavesTheDestinationAlone) {
    TestAvatar avatar;
    Canvas source(8, 4, kBlue);
    PaintHalves(source, 8, 4);
    Canvas dest(12, 6, kGreen);
    avatar.TransBlt(dest.dc(), 2, 1, 8, 4, source.dc(), 0, 0, 8, 4);
    EXPECT_TRUE(dest.ShowsBlock(6, 1, 4, 4, kRed));
}

TEST(TransBlt, ScalesTheSourceRegion) {
    TestAvatar avatar;
    Canvas source(8, 4, kBlue);
    PaintHalves(source, 8, 4);
    Canvas dest(20, 10, kGreen);
    // Source columns 2 to 5 (two blue, two red) doubled to 8 × 8.
    avatar.TransBlt(dest.dc(), 0, 0, 8, 8, source.dc(), 2, 0, 4, 4);
    EXPECT_TRUE(dest.ShowsBlock(4, 0, 4, 8, kRed));
}

TEST(TransDIBits, ReadsBottomUpPixelsOfTheAvatarHeader) {
    TestAvatar avatar;
    // 100 × 120 pixels, bottom row first: the lower 60 stored rows are blue,
    // the upper 60 (the top of the picture) red.
    std::vector<uint16_t> bits(100 * 120, 0x001F);
    std::fill(bits.begin() + 100 * 60, bits.end(), uint16_t{0x7C00});
    Canvas dest(100, 120, kGreen);
    avatar.TransDIBits(dest.dc(), 0, 0, 100, 120, 0, 0, 100, 120, bits.data());
    EXPECT_TRUE(dest.ShowsBlock(0, 0, 100, 60, kRed));
}

}  // namespace
}  // namespace layered_test
