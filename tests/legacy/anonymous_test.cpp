// Question-mark pictures: as legacy avatars and through the free functions.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/avatar_log.h"
#include "legacy/anonymous_avatar.h"
#include "legacy_fixture.h"
#include "platform/testing.h"
#include "support/legacy_art.h"

namespace {

using legacy_test::Canvas;
using legacy_test::ImagePixel;

constexpr COLORREF kWhite = 0x00FFFFFF;

std::string PixelName(CKvAImage& image, int x, int y) {
    return kvtest::LegacyPixelName(ImagePixel(image, x, y));
}

TEST(AnonymousAvatar, SizesFollowTheFlags) {
    legacy_test::LoadLegacyArt();
    const struct {
        int male, half, tall;
        const char* code;
        int drawWidth, drawHeight, imageWidth, imageHeight;
        const char* sheet;
    } cases[] = {{1, 0, 0, "QMarkM", 45, 64, 46, 64, "defaultMAvtr:0"},
                 {0, 1, 1, "QMarkW", 22, 51, 22, 51, "defaultWAvtr:0"},
                 {0, 0, 1, "QMarkW", 45, 102, 46, 102, "defaultWAvtr:0"},
                 {1, 1, 0, "QMarkM", 22, 32, 22, 32, "defaultMAvtr:0"}};
    for (const auto& c : cases) {
        CKvAvtr avatar;
        ASSERT_EQ(avatar.CreateAnonymousAvatar(c.male, c.half, 0, 0, c.tall), 1) << c.code;
        EXPECT_STREQ(avatar.GetCode(), c.code);
        EXPECT_EQ(avatar.GetDrawWidth(), c.drawWidth);
        EXPECT_EQ(avatar.GetDrawHeight(), c.drawHeight);
        CKvAImage& image = avatar.GetImage();
        EXPECT_EQ(image.GetWidth(), c.imageWidth);
        EXPECT_EQ(image.GetHeight(), c.imageHeight);
        EXPECT_EQ(PixelName(image, 10, 10), c.sheet);
    }
}

TEST(AnonymousAvatar, HalvingKeepsBlocksOfTwoOrMoreOpaquePixelsAtAQuarterOfTheirSum) {
    legacy_test::LoadLegacyArt();
    CKvAvtr avatar;
    ASSERT_EQ(avatar.CreateAnonymousAvatar(1, 1, 0, 0, 1), 1);
    CKvAImage& image = avatar.GetImage();
    const uint16_t full = kvtest::LegacyTilePixel("defaultMAvtr", 0);
    const uint16_t half = static_cast<uint16_t>(((full >> 1) & 0x3DEF));  // each channel halved
    EXPECT_EQ(ImagePixel(image, 0, 10), 0x001F);                          // no opaque pixel
    EXPECT_EQ(ImagePixel(image, 1, 10), half);                            // two
    EXPECT_EQ(ImagePixel(image, 5, 10), full);                            // four
    EXPECT_EQ(ImagePixel(image, 5, 48), half);                            // two
    EXPECT_EQ(ImagePixel(image, 1, 48), 0x001F);                          // one
    EXPECT_EQ(ImagePixel(image, 5, 49), 0x001F);
}

TEST(AnonymousAvatar, FreeFunctionsPaintTheMalePictureAtFourSizes) {
    legacy_test::LoadLegacyArt();
    const COLORREF male = kvtest::LegacyPixelColor(kvtest::LegacyTilePixel("defaultMAvtr", 0));
    const struct {
        int size, width, height;
    } cases[] = {{0, 22, 32}, {1, 22, 51}, {2, 45, 64}, {3, 45, 102}};
    for (const auto& c : cases) {
        for (const bool selected : {false, true}) {
            Canvas canvas(60, 120, kWhite);
            EXPECT_EQ(selected ? DrawSelectedAnonymousAvatar(canvas.dc(), 7, 9, 0xFF, c.size)
                               : DrawAnonymousAvatar(canvas.dc(), 7, 9, c.size),
                      1);
            const COLORREF expected = selected ? male & ~COLORREF{0x5050} : male;
            EXPECT_EQ(canvas.At(7 + c.width - 1, 9 + c.height / 2), expected) << c.size;
            EXPECT_EQ(canvas.At(7, 9 + c.height / 2), kWhite) << c.size;  // transparent column
            EXPECT_EQ(canvas.At(7 + c.width, 9 + c.height / 2), kWhite) << c.size;
            EXPECT_EQ(canvas.At(7 + c.width / 2, 9 + c.height), kWhite) << c.size;
        }
    }
    Canvas canvas(60, 120, kWhite);
    EXPECT_EQ(DrawAnonymousAvatar(canvas.dc(), 0, 0, 4), 1);
    EXPECT_EQ(canvas.At(20, 20), kWhite);
}

TEST(AnonymousAvatar, AMissingPictureIsLoggedAndLeavesTheAreaTransparent) {
    legacy_test::LoadLegacyArt();
    namespace fs = std::filesystem;
    fs::rename("images/defaultMAvtr.qim", "images/moved.qim");
    delete g_pAnonymousImage64;
    delete g_pAnonymousImage102;
    g_pAnonymousImage64 = g_pAnonymousImage102 = nullptr;
    g_bAnonymousReady = 0;
    std::string log;
    kvplatform::SetDebugOutputSink([&log](const char* text) { log += text; });
    const AvatarLogFunction quiet = AvatarLog;
    AvatarLog = AvatarLogPrint;
    Canvas canvas(60, 120, kWhite);
    EXPECT_EQ(DrawAnonymousAvatar(canvas.dc(), 0, 0, 3), 1);
    AvatarLog = quiet;
    kvplatform::SetDebugOutputSink(nullptr);
    fs::rename("images/moved.qim", "images/defaultMAvtr.qim");
    const std::string line =
        "KVAVTR:: ERROR:: file, [.\\images\\default{M,W}Avtr.qim] not found!!\n";
    EXPECT_EQ(log, line + line);
    EXPECT_EQ(canvas.At(20, 20), kWhite);
    CKvAvtr avatar;
    EXPECT_EQ(avatar.CreateAnonymousAvatar(0, 0, 0, 0, 0), 1);  // the female file is there
}

}  // namespace
