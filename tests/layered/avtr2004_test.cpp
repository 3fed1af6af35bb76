#include <gtest/gtest.h>

#include <string>

#include "layered_fixture.h"
#include "parts/avtr_part_pool.h"
#include "support/bmp_builder.h"

namespace layered_test {
namespace {

using AvatarTest = PoolTest;

TEST_F(AvatarTest, IdWithoutPartsIsRefusedAndTheAvatarDrawsNothing) {
    TestAvatar avatar;
    EXPECT_EQ(46u, avatar.Width());
    EXPECT_EQ(102u, avatar.Height());
    CAvtrId empty;
    EXPECT_EQ(0, avatar.Create(empty, 0, 0, 1, 0));
    EXPECT_EQ(0, avatar.CreateBlock(empty, 0, 0, 1, 0));
    char unknownType[] = "zzm001";
    EXPECT_EQ(0, avatar.Create(unknownType, 0, 0, 1, 0));
    EXPECT_FALSE(avatar.HasSurface());
    Canvas canvas(60, 110, kGreen);
    EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'M', false, 0));
    EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
}

TEST_F(AvatarTest, CreatingAgainGivesBackWhatTheFirstHeld) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    CAvtrId small;
    small.Set("LCM001", true);
    ASSERT_EQ(1, avatar.Create(small, 1, 1, 1, 0));
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
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
    char id[] = "lcm001_fnm001a";
    ASSERT_EQ(1, layered.Create(id, 0, 1, 1, 0));
    EXPECT_EQ(1, layered.ChangeAvatarExpress('n'));
    std::string text;
    ASSERT_TRUE(layered.AvatarId().ToString(text, false));
    EXPECT_EQ("lcm001_fnm001n", text);
    EXPECT_EQ((CAvtrId::IdList{"lcm001", "fnm001a"}), layered.AvatarId().IdVec());
    EXPECT_EQ(1, UseCount("fnm001a"));

    TestAvatar com;
    CAvtrId comId;
    comId.Set("LCM001_HCM001_FNM001A_PNM001", true);
    ASSERT_EQ(1, com.Create(comId, 0, 1, 1, 0));
    EXPECT_EQ(0, com.ChangeAvatarExpress('n'));
    EXPECT_EQ("AWFS_LCM001_HCM001_FNM001A_PNM001", com.AvatarId().IdVec().front());
    EXPECT_EQ(0, TestAvatar().ChangeAvatarExpress('n'));
}

TEST_F(AvatarTest, MissingBackgroundFileRemovesTheOldPicture) {
    const std::string path = m_folder + "/back.bmp";
    ASSERT_TRUE(kvtest::WriteBytes(path, kvtest::BmpBuilder(100, 120, 24).Bytes()));  // black
    TestAvatar avatar;
    ASSERT_TRUE(avatar.SetBkgndImage(path.c_str()));
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 0, kWhite));  // the picture survives Create
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
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, kWhite));
    Canvas before(46, 102, kGreen);
    avatar.Draw(before.dc(), 0, 0, 'M', false, 0);
    ASSERT_TRUE(before.ShowsCoordinates(0, 0, 46, 102, 27, 5));
    CAvtrPartPool::Inst()->AdjustAvtrPart();
    ASSERT_EQ(nullptr, CAvtrPartPool::Inst()->Get("lcm001"));
    Canvas after(46, 102, kGreen);
    avatar.Draw(after.dc(), 0, 0, 'M', false, 0);
    EXPECT_TRUE(after.ShowsBlock(0, 0, 46, 102, kWhite));
}

TEST_F(AvatarTest, DestroyedComAvatarDrawsNothing) {
    TestAvatar avatar;
    CAvtrId id;
    id.Set("SOMEONE", true);
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    avatar.Destroy();
    EXPECT_EQ(46u, avatar.Width());
    EXPECT_EQ(102u, avatar.Height());
    Canvas canvas(50, 110, kGreen);
    EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'F', false, 0));
    EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
}

TEST_F(AvatarTest, SurfaceWithoutPixelsPaintsNothing) {
    AddCoordinatePart("lcm001");
    TestAvatar avatar;
    char id[] = "lcm001";
    ASSERT_EQ(1, avatar.Create(id, 0, 1, 1, 0));
    avatar.LoseSurfacePixels();
    for (const bool trans : {false, true}) {
        Canvas canvas(50, 110, kGreen);
        EXPECT_EQ(1, avatar.Draw(canvas.dc(), 0, 0, 'M', trans, 0));
        EXPECT_TRUE(canvas.ShowsBlock(0, 0, 0, 0, kGreen));
    }
}

}  // namespace
}  // namespace layered_test
