#include <memory>

#include "animated/ani_fixture.h"
#include "animated/kv_avatar.h"
#include "support/legacy_art.h"
#include "support/white_canvas.h"

namespace anitest {
namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr const char* kCode = "NNN0121001001N010000000000";
const COLORREF kBody = kvtest::LegacyPixelColor(kvtest::LegacyTilePixel("MB", 2));

class Facade : public CKvAvatar {
public:
    using CKvAvatar::m_bInDraw;
    using CKvAvatar::operator=;
};

class AvatarFacadeTest : public AniAvatarTest {
protected:
    void SetUp() override {
        AniAvatarTest::SetUp();
        Serve("AGHS_good.GIF", AvatarGifText(3));
        ASSERT_TRUE(kvtest::LegacyArt(m_home.string()).Write());
        fs::current_path(m_home);  // the fixed legacy sheets are found from here
    }
    void TearDown() override {
        CKvAvatar::m_bUseNewAvatar = 1;
        fs::current_path(m_oldCwd);
        AniAvatarTest::TearDown();
    }
    // Every drawing member's result, in the order of the class; selected last.
    std::vector<int> DrawAll(CKvAvatar& facade, HDC hdc) {
        unsigned char row[64] = {};
        unsigned char* rows[1] = {row};
        return {facade.Draw(rows, 0, 0, 16, 1, 0),
                facade.DirectDraw(rows, 0, 0, 16, 1, 0),
                facade.DrawSelected(rows, 0, 0, 16, 1, 0xFF, 0),
                facade.Draw(hdc, 0, 0, 0),
                facade.DirectDraw(hdc, 0, 0, 0),
                facade.DrawSelected(hdc, 0, 0, 0xFF, 0)};
    }

    const fs::path m_oldCwd = fs::current_path();
};

TEST_F(AvatarFacadeTest, TheSwitchChoosesTheGenerationAtEachCreate) {
    CKvAvatar facade;
    EXPECT_EQ(facade.GetAvatarType() + facade.GetWidth() + facade.IsReady(), 0u);
    facade.SetWindowHandle(m_window);
    ASSERT_EQ(facade.Create("good", 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(NextMessage(), (Message{1, reinterpret_cast<LPARAM>(&facade)}));
    EXPECT_EQ(facade.GetAvatarType() + facade.IsReady() + facade.IsAniAvatar(), 4);
    EXPECT_EQ(facade.GetWidth() * facade.GetHeight(), 10u * 6u);
    kvtest::WhiteCanvas canvas(50, 70, kWhite);
    EXPECT_EQ(DrawAll(facade, canvas.dc()), (std::vector<int>{0, 1, 0, 0, 1, 0}));

    CKvAvatar::m_bUseNewAvatar = 0;
    ASSERT_EQ(facade.Create(kCode, 1, 0, 0, 1, 1, 1), 1);  // half and tall; a6, a7 unused
    EXPECT_EQ(facade.GetAvatarType(), 1);
    EXPECT_EQ(facade.IsReady() - facade.IsAniAvatar(), 1);
    EXPECT_EQ(facade.GetWidth() * facade.GetHeight(), 45u * 64u);
    std::ofstream(CacheFile("AGHS_kept.GIF")) << "x";
    facade.CheckAvatarFolder();
    EXPECT_TRUE(fs::exists(CacheFile("AGHS_kept.GIF")));
    kvtest::WhiteCanvas legacy(50, 70, kWhite);
    EXPECT_EQ(DrawAll(facade, legacy.dc()), (std::vector<int>{0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(legacy.At(6, 5), kBody & ~COLORREF{0x5050});  // the half picture, selected
    EXPECT_EQ(legacy.At(30, 5), kWhite);
    EXPECT_EQ(facade.Create("NNN0123001001N010000000000", 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(facade.GetAvatarType() - facade.IsReady(), 1);  // refused, still attached
}

TEST_F(AvatarFacadeTest, CopiesShareOneAvatarFreedByTheLastAndDrawsDoNotNest) {
    CKvAvatar::m_bUseNewAvatar = 0;
    auto first = std::make_unique<CKvAvatar>();
    Facade second;
    ASSERT_EQ(first->Create(kCode, 0, 0, 0, 0, 0, 0) + second.Create(kCode, 0, 0, 0, 0, 0, 0), 2);
    second = *first;  // second's own avatar goes
    second = second;
    CKvAvatar third(second);
    first.reset();
    kvtest::WhiteCanvas canvas(50, 70, kWhite);
    second.m_bInDraw = 1;
    EXPECT_EQ(DrawAll(second, canvas.dc()), (std::vector<int>(6, 1)));
    EXPECT_EQ(canvas.At(13, 10), kWhite);
    second.m_bInDraw = 0;
    EXPECT_EQ(third.Draw(canvas.dc(), 0, 0, 0), 0);
    EXPECT_EQ(canvas.At(13, 10), kBody);
    third.Destroy();
    EXPECT_EQ(third.GetAvatarType(), 0);
    EXPECT_EQ(second.IsReady(), 1);
}

TEST_F(AvatarFacadeTest, FacadesLetGoWhileTheirAvatarLoads) {
    Serve("AGHS_slow.GIF", AvatarGifText(3), loopback::HttpFault::kTrickle);
    for (int round = 0; round < 3; ++round) {
        auto loading = std::make_unique<CKvAvatar>();
        loading->SetWindowHandle(m_window);
        ASSERT_EQ(loading->Create("slow", 0, 0, 0, 0, 0, 0), 1);
        CKvAvatar copy;
        copy = *loading;
        if (round == 0) {
            loading.reset();
            copy.Destroy();
        } else if (round == 1) {
            ASSERT_EQ(copy.Create("slow", 0, 0, 0, 0, 0, 0), 1);
            ASSERT_EQ(loading->Create("good", 0, 0, 0, 0, 0, 0), 1);
        }  // round 2: both go out of scope mid-load
    }
    ASSERT_TRUE(WaitForAvatarLoaders(30000));
    for (const Message& message : TakeMessages()) {
        EXPECT_NE(message.wParam, 2u);
    }
}

}  // namespace
}  // namespace anitest
