#include <gtest/gtest.h>

#include <vector>

#include "imaging/lsp.h"
#include "platform/testing.h"
#include "sprite_test_util.h"

namespace {

constexpr uint16_t kRed = 0x7C00, kGreen = 0x03E0, kBlue = 0x001F;

COLORREF Expanded(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return widen((pixel >> 10) & 31) | widen((pixel >> 5) & 31) << 8 | widen(pixel & 31) << 16;
}

// A 4 x 3 red surface with green-blue-green across its middle row, copied from (1, 0) to
// (2, 1) of a black 6 x 5 bitmap at 32 and 16 bits; the keyed copies (TransparentBlt, legacy
// masks, masks by hand) leave blue out.
TEST(LspBltTest, OpaqueAndKeyedCopiesAtBothDepths) {
    const int savedLegacy = lsp::g_nLegacyGdi;
    const uint16_t shown[3][3] = {{kRed, kRed, kRed}, {kGreen, kBlue, kGreen}, {kRed, kRed, kRed}};
    for (const int depth : {32, 16}) {
        kvplatform::SetScreenDepth(depth);
        lsp::CLspDib surface;
        surface.CreateDib(4, 3, kRed, 2);
        const kvtest::SpritePtr sprite = kvtest::MakeSprite(3, {{0, 3, kGreen, kBlue, kGreen}});
        lsp::PutSprite(&surface, 1, 1, sprite.get());
        for (const int copy : {0, 1, 2, 3}) {
            HDC screen = GetDC(nullptr);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, 6, 5);
            ReleaseDC(nullptr, screen);
            lsp::g_nLegacyGdi = copy == 2 ? 1 : 0;
            const std::vector<COLORREF> pixels = kvtest::DrawnPixels(bitmap, [&](HDC dc) {
                if (copy == 0) {
                    lsp::BltLsp(dc, 2, 1, 1, 0, 3, 3, &surface);
                } else if (copy == 3) {
                    lsp::TransBltByMask(dc, 2, 1, 3, 3, surface.m_hBitmap, 1, 0);
                } else {
                    lsp::TransBltLsp(dc, 2, 1, 1, 0, 3, 3, &surface);
                }
            });
            ASSERT_EQ(pixels.size(), 30u);
            for (int y = 0; y < 5; ++y) {
                for (int x = 0; x < 6; ++x) {
                    const bool inside = x >= 2 && x < 5 && y >= 1 && y < 4;
                    const uint16_t pixel = inside ? shown[y - 1][x - 2] : kBlue;
                    const bool keyed = copy != 0 && pixel == kBlue;
                    EXPECT_EQ(pixels[y * 6 + x], inside && !keyed ? Expanded(pixel) : 0)
                        << "copy " << copy << " depth " << depth << " at " << x << "," << y;
                }
            }
        }
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
        kvplatform::SetPretendNonNt(!nonNt);
        { lsp::CLspDib second; }  // not asked again
        EXPECT_EQ(lsp::g_nLegacyGdi, nonNt ? 1 : 0);
    }
    kvplatform::SetPretendNonNt(false);
    lsp::g_nLegacyGdi = saved;
}

}  // namespace
