#include <gtest/gtest.h>

#include <string>

#include "imaging/lsp.h"
#include "layered_fixture.h"
#include "parts/avtr_part_pool.h"
#include "support/bmp_builder.h"

namespace layered_test {
namespace {

using AvatarTest = PoolTest;

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST_F(AvatarTest, NewAvatarDrawsNothing) {
    TestAvatar avatar;
    EXPECT_EQ(46u, avatar.Width());
    EXPECT_EQ(102u, avatar.Height());
    EXPECT_EQ(1, avatar.IsReady());
    EXPECT_EQ(120, avatar.BitmapInfo().bmiHeader.biHeight);
    Canvas canvas(60, 110, kGreen);
    EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0));
    EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
}

TEST_F(AvatarTest, IdWithoutPartsIsRefusedAndChangesNothing) {
    TestAvatar avatar;
    CAvtrId empty;
    EXPECT_EQ(0, avatar.Create(empty, 0, 0, 1, 0));
    EXPECT_EQ(0, avatar.CreateBlock(empty, 0, 0, 1, 0));
    char unknownType[] = "zzm001";
    EXPECT_EQ(0, avatar.Create(unknownType, 0, 0, 1, 0));
    EXPECT_FALSE(avatar.HasSurface());
    EXPECT_EQ(120, avatar.BitmapInfo().bmiHeader.biHeight);
}

struct ModeCase {
    bool com;
    int bSmall;
    int bFullHeight;
    int bBox;
};

class ModeTest : public PoolTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeTest, WidthAndHeightNeverChange) {
    const ModeCase& c = GetParam();
    TestAvatar avatar;
    CAvtrId id;
    id.Set(c.com ? "ABC" : "lcm001_hcm001", c.com);
    ASSERT_EQ(1, avatar.Create(id, c.bSmall, c.bFullHeight, c.bBox, 0));
    EXPECT_EQ(46u, avatar.Width());
    EXPECT_EQ(102u, avatar.Height());
    avatar.Destroy();
    EXPECT_EQ(46u, avatar.Width());
    EXPECT_EQ(102u, avatar.Height());
}

TEST_P(ModeTest, ComAvatarsTakeTheSizePrefixAndSurface) {
    const ModeCase& c = GetParam();
    TestAvatar avatar;
    CAvtrId id;
    id.Set("LCM001_X", c.com);
    ASSERT_EQ(1, avatar.Create(id, c.bSmall, c.bFullHeight, c.bBox, 0));
    const bool small = c.com && c.bSmall;
    EXPECT_EQ(small ? 50 : 100, avatar.SurfaceWidth());
    EXPECT_EQ(small ? 60 : 120, avatar.SurfaceHeight());
    EXPECT_EQ(small ? 50 : 100, avatar.BitmapInfo().bmiHeader.biWidth);
    EXPECT_EQ(small ? 60 : 120, avatar.BitmapInfo().bmiHeader.biHeight);
    EXPECT_EQ(small ? 100 : 200, avatar.GetLsp().m_nPitch);
    EXPECT_EQ(small ? 60 : 120, avatar.GetLsp().m_nRows);
    if (c.com) {
        EXPECT_EQ(std::string(c.bSmall ? "ACFS_" : "AWFS_") + "LCM001_X",
                  avatar.AvatarId().IdVec().front());
    } else {
        EXPECT_EQ("lcm001", avatar.AvatarId().IdVec().front());
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeTest,
                         ::testing::Values(ModeCase{false, 0, 0, 1}, ModeCase{false, 1, 1, 0},
                                           ModeCase{true, 1, 0, 1}, ModeCase{true, 0, 1, 0},
                                           ModeCase{true, 1, 1, 1}));

TEST_F(AvatarTest, HoldsOneUseOfEachLoadedPartWhileCreated) {
    AddCoordinatePart("lcm001");
    AddCoordinatePart("hcm001");
    TestAvatar first;
    TestAvatar second;
    char id[] = "lcm001_hcm001";
    ASSERT_EQ(1, first.Create(id, 0, 1, 1, 0));
    ASSERT_EQ(1, second.Create(id, 0, 1, 1, 0));
    EXPECT_EQ(2, UseCount("lcm001"));
    first.Destroy();
    EXPECT_EQ(1, UseCount("lcm001"));
    EXPECT_EQ(1, UseCount("hcm001"));
}

TEST_F(AvatarTest, CreatingAgainGivesBackWhatTheFirstHeld) {
    AddCoordinatePart("lcm001");
    AddCoordinatePart("hcm002");
    TestAvatar avatar;
    CAvtrId small;
    small.Set("LCM001", true);
    ASSERT_EQ(1, avatar.Create(small, 1, 1, 1, 0));
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    EXPECT_EQ(1, UseCount("lcm001"));
    // The surface of the small com avatar does not carry over.
    EXPECT_EQ(100, avatar.SurfaceWidth());
    EXPECT_EQ(200, avatar.GetLsp().m_nPitch);
    // Its own identifier is a valid source.
    ASSERT_EQ(1, avatar.Create(avatar.AvatarId(), 0, 1, 1, 0));
    EXPECT_EQ(1, UseCount("lcm001"));
    ASSERT_EQ(1u, avatar.AvatarId().IdVec().size());
}

TEST_F(AvatarTest, DestroyResetsAllButSexAndIdFlags) {
    TestAvatar avatar;
    CAvtrId id;
    id.Set("ABC", true);
    ASSERT_EQ(1, avatar.Create(id, 1, 0, 0, 0));
    RECT rc{1, 2, 3, 4};
    avatar.SetDrawingRect(rc);
    avatar.Destroy();
    EXPECT_FALSE(avatar.HasSurface());
    EXPECT_TRUE(avatar.AvatarId().IdVec().empty());
    EXPECT_TRUE(avatar.AvatarId().IsComAvtr());
    EXPECT_EQ(100, avatar.SurfaceWidth());
    EXPECT_EQ(120, avatar.SurfaceHeight());
    EXPECT_EQ(100, avatar.BitmapInfo().bmiHeader.biWidth);
    EXPECT_EQ(-120, avatar.BitmapInfo().bmiHeader.biHeight);
    // All three modes come back set: a box, full height and small.
    RECT dest{};
    RECT src{};
    avatar.GetDrawRect(dest, src);
    EXPECT_EQ(22, dest.right);
    EXPECT_EQ(52, dest.bottom);
}

TEST_F(AvatarTest, ChangeAvatarExpressKeepsTheParts) {
    AddCoordinatePart("fnm001a");
    TestAvatar avatar;
    char id[] = "lcm001_fnm001a";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    EXPECT_EQ(1, avatar.ChangeAvatarExpress('n'));
    std::string text;
    ASSERT_TRUE(avatar.AvatarId().ToString(text, false));
    EXPECT_EQ("lcm001_fnm001n", text);
    EXPECT_EQ((CAvtrId::IdList{"lcm001", "fnm001a"}), avatar.AvatarId().IdVec());
    EXPECT_EQ(1, UseCount("fnm001a"));
    Canvas canvas(60, 110, kGreen);
    avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(canvas.ShowsCoordinates(0, 0, 46, 102, 27, 5));
}

TEST_F(AvatarTest, ChangeAvatarExpressFailsOnComAndEmptyAvatars) {
    TestAvatar com;
    CAvtrId id;
    id.Set("LCM001_HCM001_FNM001A_PNM001", true);
    ASSERT_EQ(1, com.Create(id, 0, 1, 1, 0));
    EXPECT_EQ(0, com.ChangeAvatarExpress('n'));
    EXPECT_EQ("AWFS_LCM001_HCM001_FNM001A_PNM001", com.AvatarId().IdVec().front());
    TestAvatar layered;
    EXPECT_EQ(0, layered.ChangeAvatarExpress('n'));
}

TEST_F(AvatarTest, BackgroundPictureLiesBehindThePartsAndSurvivesCreate) {
    const std::string path = m_folder + "/back.bmp";
    kvtest::BmpBuilder picture(100, 120, 24);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 100; ++x) {
            picture.Pixel(x, y, x < 50 ? 0xFF0000 : 0xFFFFFF);
        }
    }
    ASSERT_TRUE(kvtest::WriteBytes(path, picture.Bytes()));
    AddPart("lcm001", {KeyedSprite(100, 120, 0x001F ^ 0x7FFF, RECT{50, 0, 100, 120})}, {0});
    TestAvatar avatar;
    ASSERT_TRUE(avatar.SetBkgndImage(path.c_str()));
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 0, kWhite));
    Canvas canvas(100, 120, kGreen);
    avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(49, 60));
    EXPECT_EQ(ToColorRef(0x001F ^ 0x7FFF), canvas.At(50, 60));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(0, 119));
    avatar.Destroy();
    EXPECT_FALSE(avatar.HasBackground());
}

TEST_F(AvatarTest, MissingBackgroundFileRemovesTheOldPicture) {
    const std::string path = m_folder + "/back.bmp";
    ASSERT_TRUE(kvtest::WriteBytes(path, kvtest::BmpBuilder(10, 10, 24).Bytes()));
    TestAvatar avatar;
    ASSERT_TRUE(avatar.SetBkgndImage(path.c_str()));
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 0, kWhite));
    EXPECT_FALSE(avatar.SetBkgndImage((m_folder + "/missing.bmp").c_str()));
    EXPECT_FALSE(avatar.HasBackground());
    Canvas canvas(100, 120, kGreen);
    avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(canvas.ShowsBlock(0, 0, 100, 120, kWhite));
}

TEST_F(AvatarTest, PrunedPartDisappearsAtTheNextDraw) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, kWhite));
    Canvas before(46, 102, kGreen);
    avatar.Draw(before.dc(), 0, 0, 'M', false, 0);
    ASSERT_TRUE(before.ShowsCoordinates(0, 0, 46, 102, 27, 5));
    CAvtrPartPool::Inst()->AdjustAvtrPart();
    ASSERT_FALSE(InPool("lcm001"));
    Canvas after(46, 102, kGreen);
    avatar.Draw(after.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(after.ShowsBlock(0, 0, 46, 102, kWhite));
}

}  // namespace
}  // namespace layered_test
