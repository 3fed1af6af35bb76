// Painting legacy pictures: transparency, the selection tint, copies, screen depth.
#include <gtest/gtest.h>

#include "legacy_fixture.h"
#include "platform/testing.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr const char* kDefaultCode = "NNN0121001001N010000000000";

COLORREF Colour(const char* sheet, int tile, bool selected = false) {
    const COLORREF colour = kvtest::LegacyPixelColor(kvtest::LegacyTilePixel(sheet, tile));
    return selected ? colour & ~COLORREF{0x5050} : colour;
}

TEST(LegacyDraw, PaintsAtItsPlaceWithBlueTransparent) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    CKvAvtr avatar;
    kvtest::WhiteCanvas empty(50, 70, kWhite);
    EXPECT_EQ(avatar.Draw(empty.dc(), 0, 0, 0), 0);
    EXPECT_EQ(avatar.DrawSelected(empty.dc(), 0, 0, 0, 0), 0);
    ASSERT_EQ(avatar.Create(kDefaultCode, 0, 0, 0, 0), 1);
    for (const bool selected : {false, true}) {
        kvtest::WhiteCanvas canvas(60, 80, kWhite);
        EXPECT_EQ(selected ? avatar.DrawSelected(canvas.dc(), 5, 3, 0x123456, 0)
                           : avatar.Draw(canvas.dc(), 5, 3, 0),
                  1);
        EXPECT_EQ(canvas.At(5 + 13, 3 + 10), Colour("MB", 2, selected));
        EXPECT_EQ(canvas.At(5 + 44, 3 + 59), Colour("MA1", 0, selected));
        // The 46th composed column is not painted; the bottom rows are transparent.
        for (const auto& [x, y] : {std::pair{5 + 45, 3 + 10}, {4, 13}, {5, 2}, {10, 3 + 60}}) {
            EXPECT_EQ(canvas.At(x, y), kWhite) << x << "," << y << " " << selected;
        }
    }
}

TEST(LegacyDraw, CopiesOwnTheirPixels) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    auto* original = new CKvAvtr;
    ASSERT_EQ(original->Create(kDefaultCode, 0, 0, 0, 0), 1);
    CKvAvtr copy(*original);
    CKvAvtr assigned;
    assigned = *original;
    delete original;
    for (CKvAvtr* avatar : {&copy, &assigned}) {
        kvtest::WhiteCanvas canvas(50, 70, kWhite);
        EXPECT_EQ(avatar->Draw(canvas.dc(), 0, 0, 0), 1);
        EXPECT_EQ(canvas.At(13, 10), Colour("MB", 2));
    }
}

TEST(LegacyDraw, ScreenModeChangesCountOnlyWhenLeavingEightBits) {
    for (const auto& [from, result] : {std::pair{8, 1}, {16, 0}, {32, 0}}) {
        kvplatform::SetScreenDepth(from);
        CKvAvtr avatar;
        kvplatform::SetScreenDepth(32);
        EXPECT_EQ(avatar.CheckScreenMode(), result) << from;
        EXPECT_EQ(avatar.CheckScreenMode(), 0);
    }
}

}  // namespace
