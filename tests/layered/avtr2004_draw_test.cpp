#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fake_clock.h"
#include "imaging/pixel.h"
#include "layered/default_avatars.h"
#include "layered_fixture.h"

namespace layered_test {
namespace {

using DrawTest = PoolTest;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr uint16_t kRed = 0x7C00;

TEST_F(DrawTest, PartsNotLoadedShowTheBackgroundColour) {
    TestAvatar avatar;
    char id[] = "lcm001_hcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, RGB(255, 0, 0)));
    Canvas canvas(80, 130, kGreen);
    avatar.Draw(canvas.dc(), 10, 20, 'M', false, 0);
    EXPECT_TRUE(canvas.ShowsBlock(10, 20, 46, 102, RGB(255, 0, 0)));
}

TEST_F(DrawTest, TransparentCopyLeavesUncoveredPixelsAlone) {
    AddPart("lcm001", {KeyedSprite(100, 120, kRed, RECT{30, 10, 40, 20})}, {0});
    TestAvatar avatar;
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, kvpixel::kKeyColor));
    Canvas keyed(46, 102, kGreen);
    avatar.Draw(keyed.dc(), 0, 0, 'M', true, 0);
    // Surface columns 30 to 39, rows 10 to 19 land at (3, 5) of the figure box.
    EXPECT_TRUE(keyed.ShowsBlock(3, 5, 10, 10, ToColorRef(kRed)));
    Canvas opaque(46, 102, kGreen);
    avatar.Draw(opaque.dc(), 0, 0, 'M', false, 0);
    EXPECT_EQ(kBlue, opaque.At(0, 0));
    EXPECT_EQ(kBlue, opaque.At(45, 101));
    EXPECT_EQ(ToColorRef(kRed), opaque.At(3, 5));
}

TEST_F(DrawTest, DrawSelectedPaintsWhatDrawPaints) {
    AddPart("lcm001", {KeyedSprite(100, 120, kRed, RECT{20, 0, 60, 50})}, {0});
    AddCoordinatePart("hcm001", 60, 60);
    char id[] = "lcm001_hcm001";
    for (const bool trans : {false, true}) {
        TestAvatar avatar;
        ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, kvpixel::kKeyColor));
        Canvas drawn(60, 110, kGreen);
        Canvas selected(60, 110, kGreen);
        avatar.Draw(drawn.dc(), 3, 4, 'M', trans, 0);
        avatar.DrawSelected(selected.dc(), 3, 4, RGB(255, 0, 0), 'M', trans, 0);
        EXPECT_EQ(drawn.Pixels(), selected.Pixels()) << "trans " << trans;
    }
}

TEST_F(DrawTest, MissingComImageDrawsTheDefaultOfTheFirstSexSeen) {
    AddDefaultImages();
    InitDefaultAvatars();
    TestAvatar avatar;
    CAvtrId id;
    id.Set("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    for (const char sex : {'F', 'M'}) {
        Canvas canvas(70, 130, kGreen);
        EXPECT_EQ(1, avatar.Draw(canvas.dc(), 5, 6, sex, false, 0));
        EXPECT_TRUE(canvas.ShowsCoordinates(5, 6, 46, 102, 27, 5, kSecondTag)) << sex;
        EXPECT_EQ('F', avatar.Sex());
    }
}

// Frames of one colour each over the whole figure box, with delays 10, 3 and 20.
TEST_F(DrawTest, OnlyLargeLayeredAvatarsAnimate) {
    constexpr uint16_t kFrameColours[3] = {0x7C00, 0x03E0, 0x7FE0};
    FakeClock clock;
    for (const char* part : {"lcm001", "AWFS_ABC"}) {
        std::vector<lsp::SPRITE*> frames;
        for (uint16_t colour : kFrameColours) {
            frames.push_back(KeyedSprite(100, 120, colour, RECT{0, 0, 100, 120}));
        }
        AddPart(part, frames, {10, 3, 20});
    }
    const auto shown = [](CAvtr2004& avatar) {
        Canvas canvas(46, 102, kGreen);
        avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0);
        return canvas.At(10, 10);
    };
    char id[] = "lcm001";
    TestAvatar large;
    ASSERT_EQ(1, large.Create(id, 0, 1, 1, 0));
    TestAvatar small;
    ASSERT_EQ(1, small.Create(id, 1, 1, 1, 0));
    TestAvatar com;
    CAvtrId comId;
    comId.Set("ABC", true);
    ASSERT_EQ(1, com.Create(comId, 0, 1, 1, 0));
    const std::pair<DWORD, int> steps[] = {{0, 0}, {100, 0}, {1, 1}, {100, 1},
                                           {1, 2}, {200, 2}, {1, 0}};
    for (const auto& [advance, frame] : steps) {
        clock.Advance(advance);
        EXPECT_EQ(ToColorRef(kFrameColours[frame]), shown(large)) << "after " << advance;
        EXPECT_EQ(ToColorRef(kFrameColours[0]), shown(small));
        EXPECT_EQ(ToColorRef(kFrameColours[0]), shown(com));
    }
}

}  // namespace
}  // namespace layered_test
