// The layered avatar: creation, what each draw paints, the output region,
// animation; and the default avatars.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "imaging/pixel.h"
#include "layered/default_avatars.h"
#include "layered_fixture.h"
#include "parts/avtr_part_pool.h"
#include "support/bmp_builder.h"

namespace layered_test {
namespace {

using AvatarTest = PoolTest;

TEST_F(AvatarTest, IdWithoutPartsIsRefusedAndNeitherItNorADestroyedAvatarDraws) {
    TestAvatar avatar;
    EXPECT_EQ(std::pair(46ul, 102ul), std::pair(avatar.Width(), avatar.Height()));
    CAvtrId empty;
    EXPECT_EQ(0, avatar.Create(empty, 0, 0, 1, 0));
    EXPECT_EQ(0, avatar.CreateBlock(empty, 0, 0, 1, 0));
    EXPECT_EQ(0, Create(avatar, "zzm001"));  // unknown part type
    EXPECT_FALSE(avatar.HasSurface());
    Canvas canvas(60, 110, kGreen);
    EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0));
    CAvtrId com = Id("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(com, 0, 1, 1, 0));
    avatar.Destroy();
    EXPECT_EQ(46u, avatar.Width());
    EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'F', false, 0));
    EXPECT_TRUE(canvas.Untouched());
}

TEST_F(AvatarTest, CreatingAgainGivesBackWhatTheFirstHeld) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    CAvtrId small = Id("LCM001", true);
    ASSERT_EQ(1, avatar.Create(small, 1, 1, 1, 0));
    ASSERT_EQ(1, Create(avatar, "lcm001"));
    ASSERT_EQ(1, Create(avatar, "lcm001"));
    EXPECT_EQ(1, UseCount("lcm001"));
    EXPECT_EQ(100, avatar.SurfaceWidth());  // the small com surface does not carry over
    // Its own identifier is a valid source.
    ASSERT_EQ(1, avatar.Create(avatar.AvatarId(), 0, 1, 1, 0));
    EXPECT_EQ(1, UseCount("lcm001"));
    EXPECT_EQ(1u, avatar.AvatarId().IdVec().size());
    avatar.Destroy();
    EXPECT_EQ(0, UseCount("lcm001"));
}

TEST_F(AvatarTest, ChangeAvatarExpressKeepsLayeredPartsAndFailsOnComAndEmptyAvatars) {
    AddCoordinatePart("fnm001a");
    TestAvatar layered;
    ASSERT_EQ(1, Create(layered, "lcm001_fnm001a"));
    EXPECT_EQ(1, layered.ChangeAvatarExpress('n'));
    std::string text;
    ASSERT_TRUE(layered.AvatarId().ToString(text, false));
    EXPECT_EQ("lcm001_fnm001n", text);
    EXPECT_EQ((CAvtrId::IdList{"lcm001", "fnm001a"}), layered.AvatarId().IdVec());
    EXPECT_EQ(1, UseCount("fnm001a"));
    TestAvatar com;
    CAvtrId comId = Id("LCM001_HCM001_FNM001A_PNM001", true);
    ASSERT_EQ(1, com.Create(comId, 0, 1, 1, 0));
    EXPECT_EQ(0, com.ChangeAvatarExpress('n'));
    EXPECT_EQ("AWFS_LCM001_HCM001_FNM001A_PNM001", com.AvatarId().IdVec().front());
    EXPECT_EQ(0, TestAvatar().ChangeAvatarExpress('n'));
}

// Parts not loaded show the background colour.
TEST_F(AvatarTest, MissingBackgroundFileRemovesTheOldPicture) {
    const std::string path = m_folder + "/back.bmp";
    ASSERT_TRUE(kvtest::WriteBytes(path, kvtest::BmpBuilder(100, 120, 24).Bytes()));  // black
    TestAvatar avatar;
    ASSERT_TRUE(avatar.SetBkgndImage(path.c_str()));
    ASSERT_EQ(1, Create(avatar, "lcm001", 0, 1, 0, kWhite));  // the picture survives Create
    Canvas before(100, 120, kGreen);
    avatar.Draw(before.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(before.ShowsBlock(0, 0, 100, 120, RGB(0, 0, 0)));
    EXPECT_FALSE(avatar.SetBkgndImage((m_folder + "/missing.bmp").c_str()));
    EXPECT_FALSE(avatar.HasBackground());
    Canvas after(100, 120, kGreen);
    avatar.Draw(after.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(after.ShowsBlock(0, 0, 100, 120, kWhite));
}

TEST_F(AvatarTest, PrunedPartDisappearsAtTheNextDraw) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    ASSERT_EQ(1, Create(avatar, "lcm001", 0, 1, 1, kWhite));
    Canvas before(46, 102, kGreen);
    avatar.Draw(before.dc(), 0, 0, 'M', false, 0);
    ASSERT_TRUE(before.ShowsCoordinates(0, 0, 46, 102, 27, 5));
    CAvtrPartPool::Inst()->AdjustAvtrPart();
    ASSERT_EQ(nullptr, CAvtrPartPool::Inst()->Get("lcm001"));
    Canvas after(46, 102, kGreen);
    avatar.Draw(after.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(after.ShowsBlock(0, 0, 46, 102, kWhite));
}

// A trim on another thread waits for a draw in progress: each picture shows the whole
// part or none of it, and no freed frame is read (address sanitizer).
TEST_F(AvatarTest, PartTrimmedOnAnotherThreadNeverVanishesMidDraw) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    ASSERT_EQ(1, Create(avatar, "lcm001", 0, 1, 1, kWhite));
    std::jthread trimmer([](std::stop_token stop) {
        while (!stop.stop_requested()) {
            CAvtrPartPool::Inst()->AdjustAvtrPart();
            AddCoordinatePart("lcm001");
        }
    });
    for (int i = 0; i < 200; ++i) {
        Canvas canvas(46, 102, kGreen);
        avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0);
        ASSERT_TRUE(canvas.ShowsCoordinates(0, 0, 46, 102, 27, 5) ||
                    canvas.ShowsBlock(0, 0, 46, 102, kWhite));
    }
}

TEST_F(AvatarTest, SurfaceWithoutPixelsPaintsNothing) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    ASSERT_EQ(1, Create(avatar, "lcm001"));
    avatar.LoseSurfacePixels();
    for (const bool trans : {false, true}) {
        Canvas canvas(50, 110, kGreen);
        EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'M', trans, 0));
        EXPECT_TRUE(canvas.Untouched());
    }
}

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr uint16_t kRed = 0x7C00;

TEST_F(AvatarTest, TransparentCopyLeavesUncoveredPixelsAlone) {
    AddPart("lcm001", {KeyedSprite(100, 120, kRed, RECT{30, 10, 40, 20})}, {0});
    TestAvatar avatar;
    ASSERT_EQ(1, Create(avatar, "lcm001", 0, 1, 1, kvpixel::kKeyColor));
    Canvas keyed(46, 102, kGreen);
    avatar.Draw(keyed.dc(), 0, 0, 'M', true, 0);
    // Surface columns 30 to 39, rows 10 to 19 land at (3, 5) of the figure box.
    EXPECT_TRUE(keyed.ShowsBlock(3, 5, 10, 10, ToColorRef(kRed)));
    Canvas opaque(46, 102, kGreen);
    avatar.Draw(opaque.dc(), 0, 0, 'M', false, 0);
    EXPECT_EQ(std::tuple(kBlue, kBlue, ToColorRef(kRed)),
              std::tuple(opaque.At(0, 0), opaque.At(45, 101), opaque.At(3, 5)));
}

TEST_F(AvatarTest, DrawSelectedPaintsWhatDrawPaints) {
    AddPart("lcm001", {KeyedSprite(100, 120, kRed, RECT{20, 0, 60, 50})}, {0});
    AddCoordinatePart("hcm001", 60, 60);
    for (const bool trans : {false, true}) {
        TestAvatar avatar;
        ASSERT_EQ(1, Create(avatar, "lcm001_hcm001", 0, 1, 1, kvpixel::kKeyColor));
        Canvas drawn(60, 110, kGreen);
        Canvas selected(60, 110, kGreen);
        avatar.Draw(drawn.dc(), 3, 4, 'M', trans, 0);
        avatar.DrawSelected(selected.dc(), 3, 4, RGB(255, 0, 0), 'M', trans, 0);
        EXPECT_EQ(drawn.Pixels(), selected.Pixels()) << "trans " << trans;
    }
}

TEST_F(AvatarTest, MissingComImageDrawsTheDefaultOfTheFirstSexSeen) {
    AddDefaultImages();
    InitDefaultAvatars();
    TestAvatar avatar;
    CAvtrId id = Id("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    for (const char sex : {'F', 'M'}) {
        Canvas canvas(70, 130, kGreen);
        EXPECT_EQ(1, avatar.Draw(canvas.dc(), 5, 6, sex, false, 0));
        EXPECT_TRUE(canvas.ShowsCoordinates(5, 6, 46, 102, 27, 5, kSecondTag)) << sex;
        EXPECT_EQ('F', avatar.Sex());
    }
}

// Frames of one colour each over the whole figure box, with delays 10, 3 and 20.
TEST_F(AvatarTest, OnlyLargeLayeredAvatarsAnimate) {
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
    TestAvatar large, small, com;
    CAvtrId comId = Id("ABC", true);
    ASSERT_EQ(1,
              Create(large, "lcm001") & Create(small, "lcm001", 1) & com.Create(comId, 0, 1, 1, 0));
    const std::pair<DWORD, int> steps[] = {{0, 0}, {100, 0}, {1, 1}, {100, 1},
                                           {1, 2}, {200, 2}, {1, 0}};
    for (const auto& [advance, frame] : steps) {
        clock.Advance(advance);
        EXPECT_EQ(ToColorRef(kFrameColours[frame]), shown(large)) << "after " << advance;
        EXPECT_EQ(ToColorRef(kFrameColours[0]), shown(small));
        EXPECT_EQ(ToColorRef(kFrameColours[0]), shown(com));
    }
}

// Draw copies the region GetDrawRect gives one to one, from a part that covers
// the whole surface. Com avatars take the size prefix and a surface of that size;
// the figure size never changes.
TEST_F(AvatarTest, DrawCopiesTheOutputRegionOneToOne) {
    const struct {
        bool com;
        int bSmall, bFullHeight, bBox;
        bool drawingRect;
        RECT src;  // (left, top, width, height)
        SIZE dest;
    } cases[] = {{false, 0, 1, 1, false, {27, 5, 46, 102}, {46, 102}},
                 {false, 0, 0, 1, false, {27, 5, 46, 64}, {46, 64}},
                 {false, 1, 1, 1, false, {27, 5, 46, 102}, {22, 52}},
                 {false, 1, 0, 1, false, {27, 5, 46, 64}, {22, 32}},
                 {true, 1, 1, 1, false, {14, 0, 22, 52}, {22, 52}},
                 {true, 1, 0, 1, false, {14, 0, 22, 32}, {22, 32}},
                 {true, 0, 1, 1, false, {27, 5, 46, 102}, {46, 102}},
                 {false, 0, 1, 0, false, {0, 0, 100, 120}, {100, 120}},
                 {false, 0, 0, 0, false, {0, 0, 100, 60}, {100, 60}},
                 {false, 1, 1, 0, false, {0, 0, 50, 120}, {50, 60}},
                 {false, 0, 0, 0, true, {10, 10, 50, 80}, {50, 80}},
                 {false, 1, 1, 0, true, {10, 10, 50, 80}, {25, 40}},
                 {false, 0, 1, 1, true, {27, 5, 46, 102}, {46, 102}}};  // drawing rect ignored
    AddCoordinatePart("lcm001");
    AddCoordinatePart("AWFS_XYZ123");
    AddCoordinatePart("ACFS_XYZ123", 50, 60);
    for (const auto& c : cases) {
        const bool small = c.com && c.bSmall;
        SCOPED_TRACE(testing::Message() << c.com << c.bSmall << c.bFullHeight << c.bBox);
        CAvtrId id = Id(c.com ? "XYZ123" : "lcm001", c.com);
        TestAvatar avatar;
        ASSERT_EQ(1, avatar.Create(id, c.bSmall, c.bFullHeight, c.bBox, kWhite));
        EXPECT_EQ(!c.com  ? "lcm001"
                  : small ? "ACFS_XYZ123"
                          : "AWFS_XYZ123",
                  avatar.AvatarId().IdVec().front());
        EXPECT_EQ((std::vector<int>{small ? 50 : 100, small ? 60 : 120, 46, 102}),
                  (std::vector<int>{avatar.SurfaceWidth(), avatar.SurfaceHeight(),
                                    int(avatar.Width()), int(avatar.Height())}));
        RECT dest{}, src{}, rc{10, 10, 60, 90};
        if (c.drawingRect) {
            avatar.SetDrawingRect(rc);
        }
        avatar.GetDrawRect(dest, src);
        EXPECT_EQ((std::vector<LONG>{c.src.left, c.src.top, c.src.right, c.src.bottom, 0, 0,
                                     c.dest.cx, c.dest.cy}),
                  (std::vector<LONG>{src.left, src.top, src.right, src.bottom, dest.left, dest.top,
                                     dest.right, dest.bottom}));
        Canvas canvas(140, 150, kGreen);
        EXPECT_EQ(1, avatar.Draw(canvas.dc(), 10, 20, 'M', false, 0));
        EXPECT_TRUE(canvas.ShowsCoordinates(10, 20, c.dest.cx, c.dest.cy, c.src.left, c.src.top));
    }
}

using DefaultAvatarTest = PoolTest;

// Without images every entry is a white block, even when drawn transparent (only
// pure blue is transparent); with them, the picture of the matching entry.
TEST_F(DefaultAvatarTest, DrawsWhiteWithoutImagesThenTheMatchingEntry) {
    const struct {
        int bSmall, bFullHeight;
        char cSex;
        bool female;
        int width, height;
    } cases[] = {
        {0, 0, 'M', false, 46, 64}, {1, 0, 'M', false, 22, 32}, {0, 1, 'A', false, 46, 102},
        {1, 1, 0, false, 22, 52},   {0, 0, 'F', true, 46, 64},  {1, 0, 'F', true, 22, 32},
        {0, 1, 'F', true, 46, 102}, {2, 7, 'F', true, 22, 52},  {1, 1, 'f', false, 22, 52}};
    for (const bool images : {false, true}) {
        if (images) {
            AddDefaultImages();
        }
        InitDefaultAvatars();
        for (const auto& c : cases) {
            for (const bool trans : {false, !images}) {
                Canvas canvas(60, 120, kGreen);
                DrawDefaultAvatar(canvas.dc(), 2, 3, c.bSmall, c.bFullHeight, c.cSex, trans, 0);
                EXPECT_TRUE(images ? canvas.ShowsCoordinates(2, 3, c.width, c.height,
                                                             c.bSmall ? 14 : 27, c.bSmall ? 0 : 5,
                                                             c.female ? kSecondTag : 0)
                                   : canvas.ShowsBlock(2, 3, c.width, c.height, kWhite))
                    << c.bSmall << c.bFullHeight << c.cSex << trans;
            }
        }
        DestroyDefaultAvatar();
    }
}

TEST_F(DefaultAvatarTest, NothingIsDrawnOutsideTheirLifetime) {
    AddDefaultImages();
    Canvas canvas(60, 120, kGreen);
    DrawDefaultAvatar(canvas.dc(), 0, 0, 0, 1, 'F', false, 0);
    InitDefaultAvatars();
    DestroyDefaultAvatar();
    EXPECT_EQ(0, UseCount("AWFS_LCF001_HCF001_FNF001A_PNF001"));
    DrawDefaultAvatar(canvas.dc(), 0, 0, 0, 1, 'F', false, 0);
    EXPECT_TRUE(canvas.Untouched());
}

}  // namespace
}  // namespace layered_test
