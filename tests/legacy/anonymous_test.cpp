// Question-mark pictures: as legacy avatars and through the free functions.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/avatar_log.h"
#include "legacy/anonymous_avatar.h"
#include "legacy_fixture.h"
#include "platform/testing.h"

namespace {

using legacy_test::ImagePixel;
constexpr COLORREF kWhite = 0x00FFFFFF;

TEST(AnonymousAvatar, HalvingKeepsBlocksOfTwoOrMoreOpaquePixelsAtAQuarterOfTheirSum) {
    legacy_test::LoadLegacyArt();
    CKvAvtr avatar;
    ASSERT_EQ(avatar.CreateAnonymousAvatar(1, 1, 0, 0, 1), 1);
    EXPECT_STREQ(avatar.GetCode(), "QMarkM");
    EXPECT_EQ(avatar.GetImage().GetWidth() * avatar.GetImage().GetHeight(), 22 * 51);
    const uint16_t full = kvtest::LegacyTilePixel("defaultMAvtr", 0);
    const uint16_t half = (full >> 1) & 0x3DEF;  // each channel halved
    // Opaque pixels per block: 0, 2, 4, 2, 1.
    const uint16_t expected[] = {0x001F, half, full, half, 0x001F};
    const std::pair<int, int> at[] = {{0, 10}, {1, 10}, {5, 10}, {5, 48}, {1, 48}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ImagePixel(avatar.GetImage(), at[i].first, at[i].second), expected[i]) << i;
    }
}

TEST(AnonymousAvatar, FreeFunctionsPaintTheMalePictureAtFourSizes) {
    legacy_test::LoadLegacyArt();
    const COLORREF male = kvtest::LegacyPixelColor(kvtest::LegacyTilePixel("defaultMAvtr", 0));
    const SIZE sizes[] = {{22, 32}, {22, 51}, {45, 64}, {45, 102}};
    for (int size = 0; size < 5; ++size) {
        for (const bool selected : {false, true}) {
            kvtest::WhiteCanvas canvas(60, 120, kWhite);
            EXPECT_EQ(selected ? DrawSelectedAnonymousAvatar(canvas.dc(), 7, 9, 0xFF, size)
                               : DrawAnonymousAvatar(canvas.dc(), 7, 9, size),
                      1);
            const SIZE s = size < 4 ? sizes[size] : SIZE{1, 1};  // size 4 paints nothing
            const COLORREF inside = size == 4 ? kWhite : selected ? male & ~0x5050u : male;
            EXPECT_EQ(canvas.At(7 + s.cx - 1, 9 + s.cy / 2), inside) << size;
            EXPECT_EQ(canvas.At(7, 9 + s.cy / 2), kWhite) << size;  // a transparent column
            EXPECT_EQ(canvas.At(7 + s.cx, 9 + s.cy / 2), kWhite) << size;
            EXPECT_EQ(canvas.At(7 + s.cx / 2, 9 + s.cy), kWhite) << size;
        }
    }
}

TEST(AnonymousAvatar, AMissingPictureIsLoggedAndLeavesTheAreaTransparent) {
    legacy_test::LoadLegacyArt();
    std::filesystem::rename("images/defaultMAvtr.qim", "images/moved.qim");
    delete g_pAnonymousImage64;
    delete g_pAnonymousImage102;
    g_pAnonymousImage64 = g_pAnonymousImage102 = nullptr;
    g_bAnonymousReady = 0;
    std::string log;
    kvplatform::SetDebugOutputSink([&log](const char* text) { log += text; });
    const AvatarLogFunction quiet = AvatarLog;
    AvatarLog = AvatarLogPrint;
    kvtest::WhiteCanvas canvas(60, 120, kWhite);
    EXPECT_EQ(DrawAnonymousAvatar(canvas.dc(), 0, 0, 3), 1);
    AvatarLog = quiet;
    kvplatform::SetDebugOutputSink(nullptr);
    CKvAvtr avatar;
    EXPECT_EQ(avatar.CreateAnonymousAvatar(1, 0, 0, 0, 0), 0);
    std::filesystem::rename("images/moved.qim", "images/defaultMAvtr.qim");
    const std::string line =
        "KVAVTR:: ERROR:: file, [.\\images\\default{M,W}Avtr.qim] not found!!\n";
    EXPECT_EQ(log, line + line);
    EXPECT_EQ(canvas.At(20, 20), kWhite);
}

}  // namespace
