#include <tuple>

#include "animated/ani_fixture.h"
#include "support/white_canvas.h"

namespace anitest {
namespace {

class AniDrawTest : public AniAvatarTest {
protected:
    void Load(Avatar& avatar, int frames) {
        const std::string id = "f" + std::to_string(frames);
        Serve("AGHS_" + id + ".GIF", AvatarGifText(frames));
        avatar.m_gifList.m_msgParam = kNotify;
        ASSERT_EQ(avatar.CreateEx(id.c_str(), 0, 0, 0, 0, 0, 0), 1);
        ASSERT_EQ(TakeMessages(), (std::vector<Message>{{1, kNotify}}));
    }
};

TEST_F(AniDrawTest, NotReadyDrawsNothingButKeepsThePosition) {
    Avatar avatar(m_window);
    kvtest::WhiteCanvas dc(12, 8);
    unsigned char* rows[1] = {};
    const int results[] = {avatar.Draw(dc, 5, 6, 0),
                           avatar.DirectDraw(dc, 5, 6),
                           avatar.DrawSelected(dc, 5, 6, 0, 0),
                           avatar.Draw(rows, 5, 6, 1, 1, 0),
                           avatar.DirectDraw(rows, 5, 6, 1, 1, 0),
                           avatar.DrawSelected(rows, 7, 6, 1, 1, 0, 0)};
    EXPECT_EQ(std::vector<int>(results, results + 6), (std::vector<int>{0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(avatar.m_nLastX, 7);
    EXPECT_EQ(dc.Pixels(), std::vector<COLORREF>(12 * 8, 0x00FFFFFF));
    EXPECT_EQ(avatar.SetAutoDraw(1, 0, 0), 0);
    EXPECT_EQ(avatar.IsAniAvatar(), 0);
}

TEST_F(AniDrawTest, FirstDrawStartsTheAnimationOfAnAnimatedGif) {
    Avatar avatar(m_window);
    Load(avatar, 3);
    kvtest::WhiteCanvas plain(12, 8), selected(12, 8);
    EXPECT_EQ(avatar.Draw(plain, 2, 1, 0), 1);
    EXPECT_EQ(std::tuple(avatar.m_bAutoDraw, avatar.m_bFirstDraw), std::tuple(1, 0));
    EXPECT_EQ(avatar.m_gifList.m_x, 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(NextMessage(), (Message{0, kNotify}));  // frame steps
    }
    EXPECT_EQ(avatar.SetAutoDraw(0, 0, 0), 1);
    EXPECT_EQ(avatar.m_gifList.m_thread, nullptr);
    avatar.m_gifList.m_nowFrame = 0;
    EXPECT_EQ(avatar.DrawSelected(selected, 2, 1, 0x123456, 1), 1);
    EXPECT_EQ(plain.Pixels(), selected.Pixels()) << "selected looks the same";
    avatar.DirectDraw(plain, 7, 4);
    EXPECT_EQ(avatar.SetAutoDraw(1, -1, -1), 1);
    EXPECT_EQ(std::tuple(avatar.m_gifList.m_x, avatar.m_gifList.m_y), std::tuple(7, 4));
    avatar.Destroy();
    EXPECT_EQ(avatar.m_gifList.m_thread, nullptr);
    EXPECT_EQ(avatar.m_hWnd.load(), nullptr);
    EXPECT_EQ(std::tuple(avatar.IsReady(), avatar.m_bAutoDraw, avatar.m_bFirstDraw),
              std::tuple(0, 0, 1));
    TakeMessages();
}

TEST_F(AniDrawTest, StillGifsAndWindowlessAvatarsDoNotAnimate) {
    Avatar still(m_window);
    Load(still, 1);
    kvtest::WhiteCanvas dc(12, 8);
    EXPECT_EQ(still.Draw(dc, 0, 0, 0), 1);
    EXPECT_EQ(still.m_bAutoDraw, 0);
    EXPECT_EQ(still.SetAutoDraw(1, 0, 0), 0);
    EXPECT_EQ(dc.Pixels()[3 * 12 + 1], 0x000000FFu);  // the red square
    Avatar windowless(m_window);
    Load(windowless, 3);
    windowless.SetHWND(nullptr);
    EXPECT_EQ(windowless.SetAutoDraw(1, 0, 0), 0);
    std::vector<uint16_t> store(10 * 6, 0x1234);
    unsigned char* rows[6];
    for (int i = 0; i < 6; ++i) {
        rows[i] = reinterpret_cast<unsigned char*>(&store[i * 10]);
    }
    EXPECT_EQ(windowless.Draw(rows, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(windowless.m_bAutoDraw, 0);
    EXPECT_EQ(windowless.m_gifList.m_thread, nullptr);
    EXPECT_EQ(store[(5 - 2) * 10 + 0], 0x7C00);  // screen row 2 is table row 3
}

}  // namespace
}  // namespace anitest
