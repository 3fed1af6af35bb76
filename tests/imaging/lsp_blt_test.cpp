#include <gtest/gtest.h>

#include <vector>

#include "imaging/lsp.h"
#include "platform/testing.h"
#include "sprite_test_util.h"

namespace {

constexpr uint16_t kRed = 0x7C00, kGreen = 0x03E0, kBlue = 0x001F;
constexpr COLORREF kWhite = 0x00FFFFFF;

// 5-5-5 to COLORREF, each channel widened as (v << 3) | (v >> 2).
COLORREF Expanded(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return widen((pixel >> 10) & 31) | widen((pixel >> 5) & 31) << 8 | widen(pixel & 31) << 16;
}

struct BltCase {
    int depth;      // of the destination
    int legacyGdi;  // 1: the keyed copy goes through masks
};

// A white 6 x 5 destination and a 4 x 3 surface: red background, a row of
// green-blue-green in its middle row.
class LspBltTest : public testing::TestWithParam<BltCase> {
protected:
    void SetUp() override {
        kvplatform::SetScreenDepth(GetParam().depth);
        m_savedLegacy = lsp::g_nLegacyGdi;
        lsp::g_nLegacyGdi = GetParam().legacyGdi;
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, 6, 5);
        ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_dc, m_bitmap);
        m_surface.CreateDib(4, 3, kRed, 2);
        m_sprite = kvtest::MakeSprite(3, {{0, 3, kGreen, kBlue, kGreen}});
        lsp::PutSprite(&m_surface, 1, 1, m_sprite.get());
    }

    void TearDown() override {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
        lsp::g_nLegacyGdi = m_savedLegacy;
        kvplatform::SetScreenDepth(32);
    }

    void FillWhite() {
        const RECT all{0, 0, 6, 5};
        HBRUSH white = CreateSolidBrush(kWhite);
        FillRect(m_dc, &all, white);
        DeleteObject(white);
    }

    // Expects the destination to show the surface's (1, 0)-(4, 3) region at (2, 1),
    // white elsewhere; blue pixels show white when keyed.
    void ExpectCopied(const char* what, bool keyed) {
        SCOPED_TRACE(what);
        int width = 0, height = 0;
        std::vector<COLORREF> pixels;
        ASSERT_TRUE(kvplatform::ReadDcPixels(m_dc, width, height, pixels));
        ASSERT_EQ(width, 6);
        ASSERT_EQ(height, 5);
        const uint16_t surface[3][3] = {
            {kRed, kRed, kRed}, {kGreen, kBlue, kGreen}, {kRed, kRed, kRed}};
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 6; ++x) {
                COLORREF expect = kWhite;
                if (x >= 2 && x < 5 && y >= 1 && y < 4) {
                    const uint16_t pixel = surface[y - 1][x - 2];
                    expect = keyed && pixel == kBlue ? kWhite : Expanded(pixel);
                }
                EXPECT_EQ(pixels[y * 6 + x], expect) << "x " << x << " y " << y;
            }
        }
    }

    lsp::CLspDib m_surface;
    kvtest::SpritePtr m_sprite;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_savedLegacy = -1;
};

TEST_P(LspBltTest, OpaqueCopyShowsEveryPixelAndKeyedCopiesLeaveTheDestinationUnderBlue) {
    FillWhite();
    lsp::BltLsp(m_dc, 2, 1, 1, 0, 3, 3, &m_surface);
    ExpectCopied("opaque", false);
    FillWhite();
    lsp::TransBltLsp(m_dc, 2, 1, 1, 0, 3, 3, &m_surface);
    ExpectCopied("keyed", true);
    FillWhite();
    m_surface.Update();
    lsp::TransBltByMask(m_dc, 2, 1, 3, 3, m_surface.m_hBitmap, 1, 0);
    ExpectCopied("mask", true);
}

INSTANTIATE_TEST_SUITE_P(Depths, LspBltTest,
                         testing::Values(BltCase{32, 0}, BltCase{32, 1}, BltCase{16, 0},
                                         BltCase{16, 1}));

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
