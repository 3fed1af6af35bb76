// The loader thread against the avatar's lifetime; run under ThreadSanitizer.
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "animated/ani_avatar_load.h"
#include "animated/ani_fixture.h"

namespace anitest {
namespace {

using kvtest::HttpFault;
using std::chrono::milliseconds;

constexpr LPARAM kFirst = 0x1111;
constexpr LPARAM kSecond = 0x2222;

TEST_F(AniAvatarTest, CreateLoadsOnItsOwnThread) {
    Serve("AGHS_good.GIF", AvatarGifText(3));
    Serve("AGHS_html.GIF", AvatarGifText(3));
    m_server.SetFault("/IMG_AVTR/AGHS_html.GIF", HttpFault::kHtmlErrorPage);
    Avatar avatar(m_window);
    avatar.m_gifList.m_msgParam = kFirst;
    ASSERT_EQ(avatar.Create("good", 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(NextMessage(), (Message{1, kFirst}));
    EXPECT_EQ(avatar.IsReady(), 1);
    avatar.Destroy();
    avatar.SetHWND(m_window);  // Destroy forgets it
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
    std::sort(messages.begin(), messages.end(),
              [](const Message& a, const Message& b) { return a.lParam < b.lParam; });
    EXPECT_EQ(messages, (std::vector<Message>{{1, kFirst}, {1, kSecond}}));
    EXPECT_EQ(CacheFiles(), std::vector<std::string>{"AGHS_same.GIF"});
    std::ifstream in(CacheFile("AGHS_same.GIF"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), gif);
}

class LoaderLifetimeTest : public AniAvatarTest {
protected:
    // Destroys (or re-creates) the avatar at a moment of its loader's work;
    // nothing may arrive for the old state afterwards.
    void EndWhileLoading(milliseconds wait, bool recreate) {
        auto avatar = std::make_unique<Avatar>(m_window);
        avatar->m_gifList.m_msgParam = kFirst;
        ASSERT_EQ(avatar->Create("slow", 0, 0, 0, 0, 0, 0), 1);
        std::this_thread::sleep_for(wait);
        TakeMessages();  // what came before the end is the old state's right
        if (recreate) {
            // Re-creating a ready avatar forgets its window, so the host sets it again.
            avatar->Destroy();
            avatar->SetHWND(m_window);
            avatar->m_gifList.m_msgParam = kSecond;
            ASSERT_EQ(avatar->Create("fast", 0, 0, 0, 0, 0, 0), 1);
        } else {
            avatar.reset();
        }
        ASSERT_TRUE(WaitForAvatarLoaders(30000));
        const std::vector<Message> expected =
            recreate ? std::vector<Message>{{1, kSecond}} : std::vector<Message>{};
        EXPECT_EQ(TakeMessages(), expected) << wait.count() << " ms";
    }
};

TEST_F(LoaderLifetimeTest, DestroyOrRecreateAtEveryStage) {
    const std::string gif = AvatarGifText(3);
    Serve("AGHS_fast.GIF", gif);
    for (bool recreate : {false, true}) {
        // Before the download starts, during a trickled download, and around its end.
        Serve("AGHS_slow.GIF", gif);
        m_server.SetFault("/IMG_AVTR/AGHS_slow.GIF", HttpFault::kTrickle);
        m_server.SetTrickleInterval(milliseconds(1));
        for (int ms : {0, 20, 60, 100, 140, 180}) {
            std::filesystem::remove(CacheFile("AGHS_slow.GIF"));
            EndWhileLoading(milliseconds(ms), recreate);
        }
        // With the file cached the loader goes straight to the load and the post.
        m_server.SetFault("/IMG_AVTR/AGHS_slow.GIF", HttpFault::kNone);
        for (int ms = 0; ms < 6; ++ms) {
            EndWhileLoading(milliseconds(ms), recreate);
        }
    }
}

TEST_F(AniAvatarTest, DestroyAfterThePost) {
    Serve("AGHS_abc.GIF", AvatarGifText(3));
    auto avatar = std::make_unique<Avatar>(m_window);
    ASSERT_EQ(avatar->Create("abc", 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(NextMessage(), (Message{1, 0}));
    avatar.reset();
    ASSERT_TRUE(WaitForAvatarLoaders(30000));
    EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace
}  // namespace anitest
