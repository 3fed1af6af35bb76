// Painting legacy pictures: transparency, the selection tint, copies, screen depth.
#include <gtest/gtest.h>

#include "legacy_fixture.h"
#include "platform/testing.h"
#include "support/legacy_art.h"

namespace {

using legacy_test::Canvas;

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr const char* kDefaultCode = "NNN0121001001N010000000000";

COLORREF BandColour(const char* sheet, int tile, bool selected) {
    const COLORREF colour = kvtest::LegacyPixelColor(kvtest::LegacyTilePixel(sheet, tile));
    return selected ? colour & ~COLORREF{0x5050} : colour;
}

TEST(LegacyDraw, PaintsThePictureAtItsPlaceWithBlueTransparent) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    CKvAvtr avatar;
    ASSERT_EQ(avatar.Create(kDefaultCode, 0, 0, 0, 0), 1);
    for (const bool selected : {false, true}) {
        Canvas canvas(60, 80, kWhite);
        EXPECT_EQ(selected ? avatar.DrawSelected(canvas.dc(), 5, 3, 0x123456, 0)
                           : avatar.Draw(canvas.dc(), 5, 3, 0),
                  1);
        EXPECT_EQ(canvas.At(5 + 1, 3 + 10), BandColour("MA4", 0, selected));
        EXPECT_EQ(canvas.At(5 + 13, 3 + 10), BandColour("MB", 2, selected));
        EXPECT_EQ(canvas.At(5 + 44, 3 + 59), BandColour("MA1", 0, selected));
        // The 46th composed column is not painted; the bottom rows are transparent.
        for (const auto& [x, y] : {std::pair{5 + 45, 3 + 10}, {4, 13}, {5, 2}, {10, 3 + 60}}) {
            EXPECT_EQ(canvas.At(x, y), kWhite) << x << "," << y << (selected ? " selected" : "");
        }
    }
}

TEST(LegacyDraw, NothingToPaintWithoutAPicture) {
    CKvAvtr avatar;
    Canvas canvas(50, 70, kWhite);
    EXPECT_EQ(avatar.HasAvatarBitmap(), 0);
    EXPECT_EQ(avatar.GetAvatarBits(), nullptr);
    EXPECT_EQ(avatar.Draw(canvas.dc(), 0, 0, 0), 0);
    EXPECT_EQ(avatar.DrawSelected(canvas.dc(), 0, 0, 0, 0), 0);
    EXPECT_EQ(canvas.At(10, 10), kWhite);
}

TEST(LegacyDraw, CopiesOwnTheirPixels) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    auto* original = new CKvAvtr;
    ASSERT_EQ(original->Create(kDefaultCode, 0, 0, 0, 0), 1);
    CKvAvtr copy(*original);
    CKvAvtr assigned;
    assigned = *original;
    EXPECT_NE(copy.GetAvatarBits(), original->GetAvatarBits());
    delete original;
    for (CKvAvtr* avatar : {&copy, &assigned}) {
        Canvas canvas(50, 70, kWhite);
        EXPECT_EQ(avatar->Draw(canvas.dc(), 0, 0, 0), 1);
        EXPECT_EQ(canvas.At(13, 10), BandColour("MB", 2, false));
    }
}

TEST(LegacyDraw, ScreenModeChangesCountOnlyWhenLeavingEightBits) {
    const struct {
        int from;
        int to;
        int result;
    } cases[] = {{8, 32, 1}, {16, 32, 0}, {32, 32, 0}};
    for (const auto& c : cases) {
        kvplatform::SetScreenDepth(c.from);
        CKvAvtr avatar;
        kvplatform::SetScreenDepth(c.to);
        EXPECT_EQ(avatar.CheckScreenMode(), c.result) << c.from << " to " << c.to;
        EXPECT_EQ(avatar.CheckScreenMode(), 0);
    }
    kvplatform::SetScreenDepth(32);
}

}  // namespace
