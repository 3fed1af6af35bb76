#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "gif/kv_anigif_list.h"
#include "support/avatar_gif.h"
#include "support/white_canvas.h"

namespace {

using namespace kvtest;

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kRed = 0x000000FF;

class AnigifListTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvplatform::SetTickSource([this] { return m_now; });
    }
    void TearDown() override {
        kvplatform::SetTickSource({});
        std::filesystem::remove(m_path);
    }
    const char* Write(const GifBytes& bytes) {
        GifBuilder(0, 0).Truncate(0).Raw(bytes).WriteFile(m_path);
        return m_path.c_str();
    }
    // A 12 x 8 caller buffer holding old and its table of rows.
    std::vector<unsigned char*> Rows(uint16_t old) {
        m_store.assign(12 * 8, old);
        std::vector<unsigned char*> rows(8);
        for (int i = 0; i < 8; ++i) {
            rows[i] = reinterpret_cast<unsigned char*>(&m_store[i * 12]);
        }
        return rows;
    }

    std::string m_path = std::filesystem::temp_directory_path() /
                         ("kvavtr_anigif_" + std::to_string(::getpid()) + ".gif");
    DWORD m_now = 5000;
    std::vector<uint16_t> m_store;
};

TEST_F(AnigifListTest, LoadsFramesDelaysAndEvenWidth) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(3, 2)), nullptr), 1);
    EXPECT_EQ((std::tuple{3, 1, 10, -6}),
              (std::tuple{player.getFrameCount(), player.IsAnimatedGIF(), int(player.GetSize().cx),
                          int(player.m_bmi.bmiHeader.biHeight)}));
    // 7: the delay in force after the last frame.
    EXPECT_EQ((std::pair{20ul, 4ul}), (std::pair{player.GetDelay(1), player.GetDelay(7)}));
    ASSERT_EQ(player.Load(Write(AvatarGif(1)), nullptr), 1);
    EXPECT_EQ(player.IsAnimatedGIF(), 0);
    EXPECT_EQ(player.Load(Write({'G', 'I', 'F', '8', '9', 'a'}), nullptr), 0);
    EXPECT_EQ(player.Draw(nullptr, 0, 0), 0);
}

TEST_F(AnigifListTest, DrawsOverTheBackgroundPlainAndSelected) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(3)), nullptr), 1);
    for (bool selected : {false, true}) {
        WhiteCanvas dc(12, 8);
        player.m_nowFrame = 9;  // out of range: the draw resets it
        EXPECT_EQ(selected ? player.DrawSelected(dc, 1, 1) : player.Draw(dc, 1, 1), 1);
        EXPECT_EQ(player.getNowFrameNum(), 0);
        // The red square covers screen (0..2, 2..4); selected, it loses 0x50 of red.
        const std::vector<COLORREF> pixels = dc.Pixels();
        for (int i = 0; i < 12 * 8; ++i) {
            const bool square = i % 12 >= 1 && i % 12 <= 3 && i / 12 >= 3 && i / 12 <= 5;
            EXPECT_EQ(pixels[i], square ? (selected ? 0xAFu : kRed) : kWhite) << i;
        }
    }
    WhiteCanvas dc(12, 8);
    EXPECT_EQ(player.Draw(3, dc, 0, 0) + player.Draw(-1, dc, 0, 0), 0);  // no such frame
    EXPECT_EQ(dc.Pixels(), std::vector<COLORREF>(12 * 8, kWhite));
}

TEST_F(AnigifListTest, FlipStepsByDelayAndCountsLoops) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(3, 2)), nullptr), 1);
    std::vector<unsigned char*> rows = Rows(0);
    const DWORD waits[] = {100, 200, 100};  // a delay of 4 counts as 100 ms
    for (int shown : {0, 1, 2, 0, 1, 2, 2, 2}) {
        player.Flip(rows.data(), 0, 0, 0, 0);
        EXPECT_EQ(player.getNowFrameNum(), shown) << "no step before the delay has passed";
        m_now += waits[shown] + 1;
        player.Flip(rows.data(), 0, 0, 0, 0);
    }
    EXPECT_EQ(player.m_loopCount, -1);
    ASSERT_EQ(player.Load(Write(AvatarGif(3, 0)), nullptr), 1);
    for (int i = 0; i < 7; ++i) {
        m_now += 201;
        player.Flip(rows.data(), 0, 0, 0, 0);
    }
    EXPECT_EQ(player.getNowFrameNum(), 1);  // without end
}

TEST_F(AnigifListTest, BufferDrawIsBottomUpAndKeepsKeyPixels) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(2)), nullptr), 1);
    player.m_nowFrame = 1;
    std::vector<unsigned char*> rows = Rows(0x1234);
    EXPECT_EQ(player.Draw(rows.data(), 2, 1, 0, 0), 1);
    // Screen row r lands in table row 1 + (5 - r); the green square is at x 3..5, rows 2..4.
    for (int i = 0; i < 12 * 8; ++i) {
        const bool square = 6 - i / 12 >= 2 && 6 - i / 12 <= 4 && i % 12 >= 5 && i % 12 <= 7;
        EXPECT_EQ(m_store[i], square ? kAvatarGifSquare[1] : 0x1234) << i;
    }
    cKvAnigifList empty;
    EXPECT_EQ(empty.Draw(rows.data(), 0, 0, 0, 0) + empty.DrawAnimation(rows.data(), 0, 0, 0, 0),
              0);
}

TEST_F(AnigifListTest, SmallerFirstImageDrawsTheOverlapOnlyAndCopiesAreDeep) {
    GifBuilder gif(8, 6);
    gif.GlobalTable({{0, 0, 0}, {255, 0, 0}}).GraphicControl(0, 10, 0);
    gif.Image(0, 0, 3, 2, GifBytes(6, 1), 2);
    auto original = std::make_unique<cKvAnigifList>();
    ASSERT_EQ(original->Load(Write(gif.Trailer().Data()), nullptr), 1);
    cKvAnigifList copy(*original);
    cKvAnigifList assigned;
    assigned = *original;
    original.reset();
    for (cKvAnigifList* player : {&copy, &assigned}) {
        WhiteCanvas dc(8, 6);
        EXPECT_EQ(player->Draw(dc, 0, 0), 1);
        const std::vector<COLORREF> pixels = dc.Pixels();
        for (int i = 0; i < 8 * 6; ++i) {
            EXPECT_EQ(pixels[i], i % 8 < 3 && i / 8 < 2 ? kRed : kWhite) << i;
        }
    }
}

TEST_F(AnigifListTest, AnimationThreadPostsFrameMessagesUntilStopped) {
    kvplatform::SetTickSource({});
    HWND window = CreateWindowExA(0, "", "", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr, nullptr);
    cKvAnigifList player;
    EXPECT_EQ(player.Stop(), 1);  // never started: harmless
    ASSERT_EQ(player.Load(Write(AvatarGif(3)), nullptr), 1);
    player.m_msgParam = 0x5150;
    HWNDORHDC target{.hwnd = window};
    ASSERT_EQ(player.Start(target, 4, 5), 1);
    ASSERT_EQ(player.Start(target, 4, 5), 1);  // stops the first thread
    for (int i = 0; i < 4; ++i) {
        MSG msg;
        ASSERT_EQ(GetMessageA(&msg, window, 0, 0), 1);
        EXPECT_EQ((std::tuple{msg.message, msg.wParam, msg.lParam}),
                  (std::tuple{1060u, WPARAM{0}, LPARAM{0x5150}}));
    }
    player.Destroy();
    EXPECT_EQ(player.m_thread, nullptr);
    DestroyWindow(window);
    // A still GIF draws at once into the device context and starts no thread.
    ASSERT_EQ(player.Load(Write(AvatarGif(1)), nullptr), 1);
    WhiteCanvas dc(10, 6);
    target.hdc = dc;
    EXPECT_EQ(player.Start(target, 0, 0), 1);
    EXPECT_EQ(player.m_thread, nullptr);
    EXPECT_EQ(dc.Pixels()[3 * 10 + 1], kRed);
}

}  // namespace
