#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gif/kv_anigif_list.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "support/avatar_gif.h"
#include "support/white_canvas.h"

namespace {

namespace fs = std::filesystem;
using namespace kvtest;

constexpr COLORREF kWhite = 0x00FFFFFF;
// 5-5-5 pixel to COLORREF, as the canvases expand it.
COLORREF Colour(uint16_t p) {
    auto expand = [](unsigned v) { return (v << 3) | (v >> 2); };
    return expand((p >> 10) & 31) | expand((p >> 5) & 31) << 8 | expand(p & 31) << 16;
}

using Canvas = WhiteCanvas;

class AnigifListTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = fs::temp_directory_path() /
                 ("kvavtr_anigif_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".gif");
        kvplatform::SetTickSource([this] { return m_now; });
    }
    void TearDown() override {
        kvplatform::SetTickSource({});
        fs::remove(m_path);
    }
    std::string Write(const GifBytes& bytes) {
        std::ofstream(m_path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return m_path.string();
    }
    static std::vector<COLORREF> Pixels(HDC dc) {
        int w = 0, h = 0;
        std::vector<COLORREF> pixels;
        EXPECT_TRUE(kvplatform::ReadDcPixels(dc, w, h, pixels));
        return pixels;
    }

    fs::path m_path;
    DWORD m_now = 5000;
};

TEST_F(AnigifListTest, LoadsFramesDelaysAndEvenWidth) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(3, 2)).c_str(), nullptr), 1);
    EXPECT_EQ(player.getFrameCount(), 3);
    EXPECT_EQ(player.IsAnimatedGIF(), 1);
    EXPECT_EQ(player.GetSize().cx, 10);
    EXPECT_EQ(player.GetSize().cy, 6);
    EXPECT_EQ(player.m_bmi.bmiHeader.biHeight, -6);
    EXPECT_EQ(player.m_loopCount, 2);
    EXPECT_EQ(player.GetDelay(1), 20u);
    EXPECT_EQ(player.GetDelay(7), 4u);  // the delay in force after the last frame
    cKvAnigifList still;
    ASSERT_EQ(still.Load(Write(AvatarGif(1)).c_str(), nullptr), 1);
    EXPECT_EQ(still.IsAnimatedGIF(), 0);
    cKvAnigifList broken;
    EXPECT_EQ(broken.Load(Write({'G', 'I', 'F', '8', '9', 'a'}).c_str(), nullptr), 0);
    EXPECT_EQ(broken.Draw(nullptr, 0, 0), 0);
}

TEST_F(AnigifListTest, DrawsOverTheBackgroundPlainAndSelected) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(3)).c_str(), nullptr), 1);
    for (bool selected : {false, true}) {
        Canvas dc(12, 8);
        player.m_nowFrame = 9;  // out of range: the draw resets it
        EXPECT_EQ(selected ? player.DrawSelected(dc, 1, 1) : player.Draw(dc, 1, 1), 1);
        EXPECT_EQ(player.getNowFrameNum(), 0);
        const std::vector<COLORREF> pixels = Pixels(dc);
        // Red square at screen (0..2, 2..4), so canvas (1..3, 3..5); red loses 0x50 when selected.
        const COLORREF red =
            selected ? Colour(kAvatarGifSquare[0]) & ~0x50u : Colour(kAvatarGifSquare[0]);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 12; ++x) {
                const bool square = x >= 1 && x <= 3 && y >= 3 && y <= 5;
                EXPECT_EQ(pixels[y * 12 + x], square ? red : kWhite) << x << "," << y;
            }
        }
    }
    Canvas dc(12, 8);
    EXPECT_EQ(player.Draw(3, dc, 0, 0), 0);  // no such frame: nothing drawn
    EXPECT_EQ(player.Draw(-1, dc, 0, 0), 0);
    for (COLORREF p : Pixels(dc)) {
        EXPECT_EQ(p, kWhite);
    }
}

TEST_F(AnigifListTest, FlipStepsByDelayAndCountsLoops) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(3, 2)).c_str(), nullptr), 1);
    std::vector<short> rowsStore(10 * 6);
    std::vector<unsigned char*> rows(6);
    for (int i = 0; i < 6; ++i) {
        rows[i] = reinterpret_cast<unsigned char*>(&rowsStore[i * 10]);
    }
    // Delays 100, 200 and 100 ms (4 counts as 100).
    const DWORD waits[] = {100, 200, 100};
    const int expected[] = {0, 1, 2, 0, 1, 2, 2, 2};
    for (int shown : expected) {
        EXPECT_EQ(player.getNowFrameNum(), shown);
        player.Flip(rows.data(), 0, 0, 0, 0);
        EXPECT_EQ(player.getNowFrameNum(), shown) << "no step before the delay has passed";
        m_now += waits[shown] + 1;
        player.Flip(rows.data(), 0, 0, 0, 0);
    }
    EXPECT_EQ(player.m_loopCount, -1);
    cKvAnigifList endless;
    ASSERT_EQ(endless.Load(Write(AvatarGif(3, 0)).c_str(), nullptr), 1);
    for (int i = 0; i < 7; ++i) {
        m_now += 201;
        endless.Flip(rows.data(), 0, 0, 0, 0);
    }
    EXPECT_EQ(endless.getNowFrameNum(), 1);
}

TEST_F(AnigifListTest, BufferDrawIsBottomUpAndKeepsKeyPixels) {
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(AvatarGif(2)).c_str(), nullptr), 1);
    player.m_nowFrame = 1;
    constexpr uint16_t kOld = 0x1234;
    std::vector<uint16_t> store(12 * 8, kOld);
    std::vector<unsigned char*> rows(8);
    for (int i = 0; i < 8; ++i) {
        rows[i] = reinterpret_cast<unsigned char*>(&store[i * 12]);
    }
    EXPECT_EQ(player.Draw(rows.data(), 2, 1, 0, 0), 1);
    // Screen row r lands in table row 1 + (5 - r); green square at screen x 3..5, rows 2..4.
    for (int row = 0; row < 8; ++row) {
        for (int x = 0; x < 12; ++x) {
            const int screenRow = 6 - row;
            const bool square = screenRow >= 2 && screenRow <= 4 && x >= 5 && x <= 7;
            EXPECT_EQ(store[row * 12 + x], square ? kAvatarGifSquare[1] : kOld) << x << "," << row;
        }
    }
    cKvAnigifList empty;
    EXPECT_EQ(empty.Draw(rows.data(), 0, 0, 0, 0), 0);
    EXPECT_EQ(empty.DrawAnimation(rows.data(), 0, 0, 0, 0), 0);
}

TEST_F(AnigifListTest, FirstImageSmallerThanTheScreenDrawsTheOverlapOnly) {
    GifBuilder gif(8, 6);
    gif.GlobalTable({{0, 0, 0}, {255, 0, 0}}).GraphicControl(0, 10, 0);
    gif.Image(0, 0, 3, 2, GifBytes(6, 1), 2);
    cKvAnigifList player;
    ASSERT_EQ(player.Load(Write(gif.Trailer().Data()).c_str(), nullptr), 1);
    ASSERT_EQ(player.GetSize().cx, 8);
    Canvas dc(8, 6);
    EXPECT_EQ(player.Draw(dc, 0, 0), 1);
    const std::vector<COLORREF> pixels = Pixels(dc);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(pixels[y * 8 + x], x < 3 && y < 2 ? Colour(0x7C00) : kWhite) << x << "," << y;
        }
    }
}

TEST_F(AnigifListTest, CopiesOwnTheirFrames) {
    auto original = std::make_unique<cKvAnigifList>();
    ASSERT_EQ(original->Load(Write(AvatarGif(3)).c_str(), nullptr), 1);
    cKvAnigifList copy(*original);
    cKvAnigifList assigned;
    assigned = *original;
    original.reset();
    for (cKvAnigifList* player : {&copy, &assigned}) {
        ASSERT_EQ(player->getFrameCount(), 3);
        EXPECT_NE(player->m_frames[0], nullptr);
        Canvas dc(10, 6);
        EXPECT_EQ(player->Draw(2, dc, 0, 0), 1);
        EXPECT_EQ(Pixels(dc)[3 * 10 + 7], Colour(kAvatarGifSquare[2]));
    }
}

TEST_F(AnigifListTest, AnimationThreadPostsFrameMessagesUntilStopped) {
    kvplatform::SetTickSource({});
    HWND window =
        CreateWindowExA(0, "", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    cKvAnigifList player;
    EXPECT_EQ(player.Stop(), 1);  // never started: harmless
    ASSERT_EQ(player.Load(Write(AvatarGif(3)).c_str(), nullptr), 1);
    player.m_msgParam = 0x5150;
    HWNDORHDC target;
    target.hwnd = window;
    ASSERT_EQ(player.Start(target, 4, 5), 1);
    ASSERT_EQ(player.Start(target, 4, 5), 1);  // stops the first thread
    for (int i = 0; i < 4; ++i) {
        MSG msg;
        ASSERT_EQ(GetMessageA(&msg, window, 0, 0), 1);
        EXPECT_EQ(msg.message, 1060u);
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(msg.lParam, 0x5150);
    }
    player.Stop();
    EXPECT_EQ(player.m_thread, nullptr);
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
    }
    player.Destroy();
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    DestroyWindow(window);

    // A still GIF draws at once into the device context and starts no thread.
    cKvAnigifList still;
    ASSERT_EQ(still.Load(Write(AvatarGif(1)).c_str(), nullptr), 1);
    Canvas dc(10, 6);
    target.hdc = dc;
    EXPECT_EQ(still.Start(target, 0, 0), 1);
    EXPECT_EQ(still.m_thread, nullptr);
    EXPECT_EQ(Pixels(dc)[3 * 10 + 1], Colour(kAvatarGifSquare[0]));
}

}  // namespace
