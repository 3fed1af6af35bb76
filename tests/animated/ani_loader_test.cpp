#include <chrono>
#include <memory>
#include <thread>

#include "animated/ani_fixture.h"
#include "frame/dll_lifecycle.h"

namespace anitest {
namespace {

using loopback::HttpFault;
using std::chrono::milliseconds;

constexpr LPARAM kFirst = 0x1111;
constexpr LPARAM kSecond = 0x2222;

TEST_F(AniAvatarTest, CreateLoadsOnItsOwnThread) {
    Serve("AGHS_html.GIF", AvatarGifText(3), HttpFault::kHtmlErrorPage);
    Avatar avatar(m_window);
    avatar.m_gifList.m_msgParam = kFirst;
    ASSERT_EQ(avatar.Create("html", 0, 0, 0, 0, 0, 0), 1);
    ASSERT_TRUE(WaitForAvatarLoaders(30000));
    EXPECT_EQ(TakeMessages(), (std::vector<Message>{{2, 0}}));
    ASSERT_EQ(avatar.Create("missing", 0, 0, 0, 0, 0, 0), 1);
    ASSERT_TRUE(WaitForAvatarLoaders(30000));
    EXPECT_TRUE(TakeMessages().empty()) << "a failed download posts nothing";
}

TEST_F(AniAvatarTest, TwoAvatarsFetchingOneFileBothLoadIt) {
    const std::string gif = AvatarGifText(3) + std::string(30000, '\0');
    Serve("AGHS_same.GIF", gif);
    Avatar first(m_window);
    Avatar second(m_window);
    first.m_gifList.m_msgParam = kFirst;
    second.m_gifList.m_msgParam = kSecond;
    ASSERT_EQ(first.Create("same", 0, 0, 0, 0, 0, 0), 1);
    ASSERT_EQ(second.Create("same", 0, 0, 0, 0, 0, 0), 1);
    ASSERT_TRUE(WaitForAvatarLoaders(30000));
    std::vector<Message> messages = TakeMessages();
    std::ranges::sort(messages, {}, &Message::lParam);
    EXPECT_EQ(messages, (std::vector<Message>{{1, kFirst}, {1, kSecond}}));
    EXPECT_EQ(CacheFiles(), std::vector<std::string>{"AGHS_same.GIF"});
    std::ifstream in(CacheFile("AGHS_same.GIF"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), gif);
}

TEST_F(AniAvatarTest, DestroyOrRecreateAtEveryLoaderStage) {
    // Nothing may arrive for the old state after the end.
    const auto endWhileLoading = [&](milliseconds wait, bool recreate) {
        auto avatar = std::make_unique<Avatar>(m_window);
        avatar->m_gifList.m_msgParam = kFirst;
        ASSERT_EQ(avatar->Create("slow", 0, 0, 0, 0, 0, 0), 1);
        std::this_thread::sleep_for(wait);
        TakeMessages();
        if (recreate) {
            avatar->Destroy();
            avatar->SetHWND(m_window);
            avatar->m_gifList.m_msgParam = kSecond;
            ASSERT_EQ(avatar->Create("fast", 0, 0, 0, 0, 0, 0), 1);
        } else {
            avatar.reset();
        }
        ASSERT_TRUE(WaitForAvatarLoaders(30000));
        EXPECT_EQ(TakeMessages(),
                  (recreate ? std::vector<Message>{{1, kSecond}} : std::vector<Message>{}))
            << wait.count() << " ms";
    };
    const std::string gif = AvatarGifText(3);
    Serve("AGHS_fast.GIF", gif);
    for (bool recreate : {false, true}) {
        Serve("AGHS_slow.GIF", gif, HttpFault::kTrickle);
        for (int ms : {0, 20, 60, 100, 140, 180}) {
            fs::remove(CacheFile("AGHS_slow.GIF"));
            endWhileLoading(milliseconds(ms), recreate);
        }
        // Cached: straight to the load and the post, and well after it.
        Serve("AGHS_slow.GIF", gif);
        for (int ms : {0, 1, 2, 3, 4, 5, 50}) {
            endWhileLoading(milliseconds(ms), recreate);
        }
    }
}

TEST_F(AniAvatarTest, ShutDownWaitsForALoaderItsAvatarLeftBehind) {
    Serve("AGHS_slow.GIF", AvatarGifText(3), HttpFault::kTrickle);
    {
        Avatar avatar(m_window);
        ASSERT_EQ(avatar.Create("slow", 0, 0, 0, 0, 0, 0), 1);
        std::this_thread::sleep_for(milliseconds(50));  // into the download
    }
    InitAvatarDll();
    DestroyAvatarDll();
    EXPECT_TRUE(WaitForAvatarLoaders(0));
}

}  // namespace
}  // namespace anitest
