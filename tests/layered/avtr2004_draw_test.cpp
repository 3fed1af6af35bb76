#include <gtest/gtest.h>

#include <string>

#include "fake_clock.h"
#include "imaging/pixel.h"
#include "layered/default_avatars.h"
#include "layered_fixture.h"

namespace layered_test {
namespace {

using DrawTest = PoolTest;

constexpr COLORREF kGreen = RGB(0, 255, 0);
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

// Frames of one colour each over the whole figure box, with the given delays.
class AnimationTest : public PoolTest {
protected:
    static constexpr uint16_t kFrameColours[3] = {0x7C00, 0x03E0, 0x7FE0};

    void AddAnimatedPart(const std::string& id) {
        std::vector<lsp::SPRITE*> frames;
        for (uint16_t colour : kFrameColours) {
            frames.push_back(KeyedSprite(100, 120, colour, RECT{0, 0, 100, 120}));
        }
        AddPart(id, frames, {10, 3, 20});
    }

    // The frame index the avatar shows, from the colour at the middle of its box.
    int ShownFrame(CAvtr2004& avatar) {
        Canvas canvas(46, 102, kGreen);
        avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0);
        const COLORREF shown = canvas.At(10, 10);
        for (int i = 0; i < 3; ++i) {
            if (shown == ToColorRef(kFrameColours[i])) {
                return i;
            }
        }
        return -1;
    }
};

TEST_F(AnimationTest, LayeredAvatarPlaysEachFrameForItsDelay) {
    FakeClock clock;
    AddAnimatedPart("lcm001");
    TestAvatar avatar;
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    const struct {
        DWORD advance;
        int frame;
    } steps[] = {{0, 0}, {100, 0}, {1, 1}, {100, 1}, {1, 2}, {200, 2}, {1, 0}};
    for (const auto& step : steps) {
        clock.Advance(step.advance);
        EXPECT_EQ(step.frame, ShownFrame(avatar)) << "after " << step.advance;
    }
}

TEST_F(AnimationTest, SmallAndComAvatarsStayOnTheFirstFrame) {
    FakeClock clock;
    AddAnimatedPart("lcm001");
    AddAnimatedPart("AWFS_ABC");
    TestAvatar small;
    char id[] = "lcm001";
    ASSERT_EQ(1, small.Create(id, 1, 1, 1, 0));
    TestAvatar com;
    CAvtrId comId;
    comId.Set("ABC", true);
    ASSERT_EQ(1, com.Create(comId, 0, 1, 1, 0));
    for (int i = 0; i < 4; ++i) {
        clock.Advance(250);
        EXPECT_EQ(0, ShownFrame(small));
        EXPECT_EQ(0, ShownFrame(com));
    }
}

TEST_F(AnimationTest, PartArrivingLaterStartsAtFrameOne) {
    FakeClock clock;
    TestAvatar avatar;
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    AddAnimatedPart("lcm001");
    clock.Advance(1);
    EXPECT_EQ(1, ShownFrame(avatar));
}

// Default figures whose pictures tell male (untagged) from female (tagged).
class ComDrawTest : public PoolTest {
protected:
    void SetUp() override {
        PoolTest::SetUp();
        for (const char* prefix : {"AWFS_", "ACFS_"}) {
            const int side = prefix[1] == 'C' ? 50 : 100;
            AddCoordinatePart(std::string(prefix) + "LCM001_HCM001_FNM001A_PNM001", side,
                              side * 6 / 5);
            AddCoordinatePart(std::string(prefix) + "LCF001_HCF001_FNF001A_PNF001", side,
                              side * 6 / 5, kSecondTag);
        }
        InitDefaultAvatars();
    }
};

TEST_F(ComDrawTest, MissingImageDrawsTheDefaultOfTheFirstSexSeen) {
    TestAvatar avatar;
    CAvtrId id;
    id.Set("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    Canvas female(70, 130, kGreen);
    EXPECT_EQ(1, avatar.Draw(female.dc(), 5, 6, 'F', false, 0));
    EXPECT_TRUE(female.ShowsCoordinates(5, 6, 46, 102, 27, 5, kSecondTag));
    EXPECT_EQ('F', avatar.Sex());
    Canvas still(70, 130, kGreen);
    avatar.Draw(still.dc(), 5, 6, 'M', false, 0);
    EXPECT_TRUE(still.ShowsCoordinates(5, 6, 46, 102, 27, 5, kSecondTag));
}

TEST_F(ComDrawTest, SmallComAvatarStandsInWithTheSmallMaleFigure) {
    TestAvatar avatar;
    CAvtrId id;
    id.Set("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(id, 1, 0, 1, 0));
    Canvas canvas(30, 40, kGreen);
    avatar.Draw(canvas.dc(), 0, 0, 0x100 | 'M', false, 0);
    EXPECT_EQ('M', avatar.Sex());
    EXPECT_TRUE(canvas.ShowsCoordinates(0, 0, 22, 32, 14, 0));
}

TEST_F(ComDrawTest, LoadedImageIsDrawnItself) {
    AddCoordinatePart("ACFS_SOMEONE", 50, 60, kSecondTag);
    TestAvatar avatar;
    CAvtrId id;
    id.Set("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(id, 1, 1, 1, 0));
    Canvas canvas(30, 60, kGreen);
    avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(canvas.ShowsCoordinates(0, 0, 22, 52, 14, 0, kSecondTag));
    EXPECT_EQ('A', avatar.Sex());
}

TEST_F(ComDrawTest, DestroyedComAvatarDrawsNothing) {
    TestAvatar avatar;
    CAvtrId id;
    id.Set("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    avatar.Destroy();
    Canvas canvas(50, 110, kGreen);
    EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'F', false, 0));
    EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
}

TEST_F(DrawTest, SurfaceWithoutPixelsPaintsNothing) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    avatar.LoseSurfacePixels();
    ASSERT_EQ(nullptr, avatar.GetLspDIBData());
    for (const bool trans : {false, true}) {
        Canvas canvas(50, 110, kGreen);
        EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'M', trans, 0));
        EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
    }
}

}  // namespace
}  // namespace layered_test
