// The transparent copies the avatars use, pinned pixel for pixel against a known
// background, at both screen depths.
#include "gdi_test_util.h"

namespace {

using gditest::Color555;
using gditest::MemoryDc;

constexpr int kSpriteW = 20;
constexpr int kSpriteH = 24;
constexpr int kCanvasW = 40;
constexpr int kCanvasH = 36;
constexpr int kAtX = 9;
constexpr int kAtY = 7;
constexpr uint32_t kBlue555 = 0x001F;
constexpr COLORREF kKey = 0x00FF0000;

// A ring of key blue around the edge and a blue diagonal; the rest never blue.
uint32_t Sprite(int x, int y) {
    if (x == 0 || y == 0 || x == kSpriteW - 1 || y == kSpriteH - 1 || x == y) {
        return kBlue555;
    }
    return static_cast<uint32_t>(((x * 3) << 10) | ((y + 4) << 5) | ((x + y) & 15));
}

// Exact in 5-5-5, so the background reads the same at 16 and 32 bits.
COLORREF Background(int x, int y) {
    return Color555(static_cast<uint32_t>(((y % 32) << 10) | ((x % 32) << 5) | 9));
}

COLORREF Expected(int x, int y) {
    const int sx = x - kAtX, sy = y - kAtY;
    if (sx < 0 || sy < 0 || sx >= kSpriteW || sy >= kSpriteH || Sprite(sx, sy) == kBlue555) {
        return Background(x, y);
    }
    return Color555(Sprite(sx, sy));
}

class TransparentCopy : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        kvplatform::SetScreenDepth(GetParam());
        m_window = CreateWindowExA(0, "kvavtr", "", 0, 0, 0, kCanvasW, kCanvasH, HWND_MESSAGE,
                                   nullptr, nullptr, nullptr);
        m_dest = GetDC(m_window);
        ASSERT_EQ(GetDeviceCaps(m_dest, BITSPIXEL), GetParam());
        for (int y = 0; y < kCanvasH; ++y) {
            for (int x = 0; x < kCanvasW; ++x) {
                HBRUSH brush = CreateSolidBrush(Background(x, y));
                const RECT pixel{x, y, x + 1, y + 1};
                FillRect(m_dest, &pixel, brush);
                DeleteObject(brush);
            }
        }
    }
    void TearDown() override {
        ReleaseDC(m_window, m_dest);
        DestroyWindow(m_window);
        kvplatform::SetScreenDepth(32);
    }
    void ExpectComposited(COLORREF tint = 0x00FFFFFF) {
        const gditest::Pixels p = gditest::Read(m_dest);
        ASSERT_EQ(p.width, kCanvasW);
        for (int y = 0; y < kCanvasH; ++y) {
            for (int x = 0; x < kCanvasW; ++x) {
                ASSERT_EQ(p.At(x, y), Expected(x, y) & tint) << x << "," << y;
            }
        }
    }

    HWND m_window = nullptr;
    HDC m_dest = nullptr;
    MemoryDc m_source{gditest::Dib(kSpriteW, kSpriteH, 16, Sprite)};
};

// Source, monochrome mask, masked source and work DCs, combined by SRCAND and SRCPAINT.
TEST_P(TransparentCopy, FourDcMaskAndRasterOperations) {
    const int w = kSpriteW, h = kSpriteH;
    SetBkColor(m_source, kKey);
    MemoryDc mask(CreateBitmap(w, h, 1, 1, nullptr));
    ASSERT_TRUE(StretchBlt(mask, 0, 0, w, h, m_source, 0, 0, w, h, SRCCOPY));

    MemoryDc masked(CreateCompatibleBitmap(m_dest, w, h));
    ASSERT_TRUE(BitBlt(masked, 0, 0, w, h, m_source, 0, 0, SRCCOPY));
    ASSERT_TRUE(StretchBlt(masked, 0, 0, w, h, mask, 0, 0, w, h, 0x00220326));

    MemoryDc work(CreateCompatibleBitmap(m_dest, w, h));
    ASSERT_TRUE(BitBlt(work, 0, 0, w, h, m_dest, kAtX, kAtY, SRCCOPY));
    ASSERT_TRUE(BitBlt(work, 0, 0, w, h, mask, 0, 0, SRCAND));
    ASSERT_TRUE(BitBlt(work, 0, 0, w, h, masked, 0, 0, SRCPAINT));
    ASSERT_TRUE(BitBlt(m_dest, kAtX, kAtY, w, h, work, 0, 0, SRCCOPY));
    ExpectComposited();
}

// TransparentBlt keyed on the blue a 16-bit source widens to, then the selected
// tint: every pixel ANDed with 0xAF in red and green.
TEST_P(TransparentCopy, TransparentBltThenTint) {
    ASSERT_TRUE(TransparentBlt(m_dest, kAtX, kAtY, kSpriteW, kSpriteH, m_source, 0, 0, kSpriteW,
                               kSpriteH, kKey));
    ExpectComposited();
    MemoryDc tint(gditest::Filled(kCanvasW, kCanvasH, 0x00FFAFAF));
    ASSERT_TRUE(BitBlt(m_dest, 0, 0, kCanvasW, kCanvasH, tint, 0, 0, SRCAND));
    // At 16 bits the tint itself is stored as 5-5-5: 0xAF keeps its top five bits.
    ExpectComposited(GetParam() == 16 ? Color555(0x56BF) : 0x00FFAFAF);
}

INSTANTIATE_TEST_SUITE_P(ScreenDepth, TransparentCopy, testing::Values(32, 16));

}  // namespace
