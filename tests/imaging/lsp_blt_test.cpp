#include <gtest/gtest.h>

#include <vector>

#include "imaging/lsp.h"
#include "platform/testing.h"
#include "sprite_test_util.h"

namespace {

constexpr uint16_t kRed = 0x7C00, kGreen = 0x03E0, kBlue = 0x001F;
constexpr COLORREF kWhite = 0x00FFFFFF;

COLORREF Expanded(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return widen((pixel >> 10) & 31) | widen((pixel >> 5) & 31) << 8 | widen(pixel & 31) << 16;
}

// A 4 x 3 surface, red with green-blue-green across its middle row, copied from
// (1, 0) to (2, 1) of a white 6 x 5 DC at 32 and 16 bits, with the keyed copy through
// TransparentBlt and through masks: blue leaves the white, all else shows.
TEST(LspBltTest, OpaqueAndKeyedCopiesAtBothDepths) {
    const int savedLegacy = lsp::g_nLegacyGdi;
    const uint16_t shown[3][3] = {{kRed, kRed, kRed}, {kGreen, kBlue, kGreen}, {kRed, kRed, kRed}};
    for (const int depth : {32, 16}) {
        kvplatform::SetScreenDepth(depth);
        lsp::CLspDib surface;
        surface.CreateDib(4, 3, kRed, 2);
        const kvtest::SpritePtr sprite = kvtest::MakeSprite(3, {{0, 3, kGreen, kBlue, kGreen}});
        lsp::PutSprite(&surface, 1, 1, sprite.get());
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 6, 5);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        for (const int copy : {0, 1, 2, 3}) {
            const RECT all{0, 0, 6, 5};
            HBRUSH white = CreateSolidBrush(kWhite);
            FillRect(dc, &all, white);
            DeleteObject(white);
            lsp::g_nLegacyGdi = copy == 2 ? 1 : 0;
            if (copy == 0) {
                lsp::BltLsp(dc, 2, 1, 1, 0, 3, 3, &surface);
            } else if (copy == 3) {
                lsp::TransBltByMask(dc, 2, 1, 3, 3, surface.m_hBitmap, 1, 0);
            } else {
                lsp::TransBltLsp(dc, 2, 1, 1, 0, 3, 3, &surface);
            }
            int width = 0, height = 0;
            std::vector<COLORREF> pixels;
            ASSERT_TRUE(kvplatform::ReadDcPixels(dc, width, height, pixels));
            for (int y = 0; y < 5; ++y) {
                for (int x = 0; x < 6; ++x) {
                    const bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
                    const uint16_t pixel = inside ? shown[y - 1][x - 2] : kBlue;
                    const bool keyed = copy != 0 && pixel == kBlue;
                    EXPECT_EQ(pixels[y * 6 + x], inside && !keyed ? Expanded(pixel) : kWhite)
                        << "copy " << copy << " depth " << depth << " at " << x << "," << y;
                }
            }
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    kvplatform::SetScreenDepth(32);
    lsp::g_nLegacyGdi = savedLegacy;
}

TEST(LegacyGdiTest, ChosenOnceFromTheSystemFamily) {
    const int saved = lsp::g_nLegacyGdi;
    for (const bool nonNt : {true, false}) {
        kvplatform::SetPretendNonNt(nonNt);
        lsp::g_nLegacyGdi = -1;
        { lsp::CLspDib first; }
        EXPECT_EQ(lsp::g_nLegacyGdi, nonNt ? 1 : 0);
        kvplatform::SetPretendNonNt(!nonNt);
        { lsp::CLspDib second; }
        EXPECT_EQ(lsp::g_nLegacyGdi, nonNt ? 1 : 0);  // not asked again
    }
    kvplatform::SetPretendNonNt(false);
    lsp::g_nLegacyGdi = saved;
}

}  // namespace
