// The transparent copies the avatars use, pinned pixel for pixel against a known
// background, at both screen depths.
#include <png.h>

#include <cstdio>
#include <string>

#include "gdi_test_util.h"

namespace {

using gditest::Color555;
using gditest::MemoryDc;
using gditest::Pixels;

constexpr int kSpriteW = 20;
constexpr int kSpriteH = 24;
constexpr int kCanvasW = 48;
constexpr int kCanvasH = 40;
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

void PaintBackground(HDC dc) {
    for (int y = 0; y < kCanvasH; ++y) {
        for (int x = 0; x < kCanvasW; ++x) {
            HBRUSH brush = CreateSolidBrush(Background(x, y));
            const RECT pixel{x, y, x + 1, y + 1};
            FillRect(dc, &pixel, brush);
            DeleteObject(brush);
        }
    }
}

COLORREF Expected(int x, int y) {
    const int sx = x - kAtX, sy = y - kAtY;
    if (sx < 0 || sy < 0 || sx >= kSpriteW || sy >= kSpriteH || Sprite(sx, sy) == kBlue555) {
        return Background(x, y);
    }
    return Color555(Sprite(sx, sy));
}

void WritePng(const std::string& path, const Pixels& p) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(p.width) * 3);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const COLORREF c = p.At(x, y);
            row[3 * x] = GetRValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetBValue(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

class TransparentCopy : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        kvplatform::SetScreenDepth(GetParam());
        m_window = CreateWindowExA(0, "kvavtr", "", 0, 0, 0, kCanvasW, kCanvasH, HWND_MESSAGE,
                                   nullptr, nullptr, nullptr);
        m_dest = GetDC(m_window);
        ASSERT_EQ(GetDeviceCaps(m_dest, BITSPIXEL), GetParam());
        PaintBackground(m_dest);
    }
    void TearDown() override {
        ReleaseDC(m_window, m_dest);
        DestroyWindow(m_window);
        kvplatform::SetScreenDepth(32);
    }
    void ExpectComposited() {
        const Pixels p = gditest::Read(m_dest);
        ASSERT_EQ(p.width, kCanvasW);
        for (int y = 0; y < kCanvasH; ++y) {
            for (int x = 0; x < kCanvasW; ++x) {
                ASSERT_EQ(p.At(x, y), Expected(x, y)) << x << "," << y;
            }
        }
    }

    HWND m_window = nullptr;
    HDC m_dest = nullptr;
};

// Source, monochrome mask, masked source and work DCs, combined by SRCAND and SRCPAINT.
TEST_P(TransparentCopy, FourDcMaskAndRasterOperations) {
    MemoryDc source(gditest::Dib16(kSpriteW, kSpriteH, Sprite));
    SetBkColor(source, kKey);

    MemoryDc mask(CreateBitmap(kSpriteW, kSpriteH, 1, 1, nullptr));
    ASSERT_TRUE(
        StretchBlt(mask, 0, 0, kSpriteW, kSpriteH, source, 0, 0, kSpriteW, kSpriteH, SRCCOPY));

    MemoryDc masked(CreateCompatibleBitmap(m_dest, kSpriteW, kSpriteH));
    ASSERT_TRUE(BitBlt(masked, 0, 0, kSpriteW, kSpriteH, source, 0, 0, SRCCOPY));
    ASSERT_TRUE(
        StretchBlt(masked, 0, 0, kSpriteW, kSpriteH, mask, 0, 0, kSpriteW, kSpriteH, 0x00220326));

    MemoryDc work(CreateCompatibleBitmap(m_dest, kSpriteW, kSpriteH));
    ASSERT_TRUE(BitBlt(work, 0, 0, kSpriteW, kSpriteH, m_dest, kAtX, kAtY, SRCCOPY));
    ASSERT_TRUE(BitBlt(work, 0, 0, kSpriteW, kSpriteH, mask, 0, 0, SRCAND));
    ASSERT_TRUE(BitBlt(work, 0, 0, kSpriteW, kSpriteH, masked, 0, 0, SRCPAINT));
    ASSERT_TRUE(BitBlt(m_dest, kAtX, kAtY, kSpriteW, kSpriteH, work, 0, 0, SRCCOPY));

    ExpectComposited();
    if (GetParam() == 32) {
        WritePng(testing::TempDir() + "gdi_transparent_copy.png", gditest::Read(m_dest));
    }
}

TEST_P(TransparentCopy, TransparentBltWithBlueKey) {
    MemoryDc source(gditest::Dib16(kSpriteW, kSpriteH, Sprite));
    ASSERT_TRUE(TransparentBlt(m_dest, kAtX, kAtY, kSpriteW, kSpriteH, source, 0, 0, kSpriteW,
                               kSpriteH, kKey));
    ExpectComposited();
}

// The selected tint: every pixel ANDed with 0xAF in red and green.
TEST_P(TransparentCopy, TintBySrcAnd) {
    MemoryDc source(gditest::Dib16(kSpriteW, kSpriteH, Sprite));
    ASSERT_TRUE(TransparentBlt(m_dest, kAtX, kAtY, kSpriteW, kSpriteH, source, 0, 0, kSpriteW,
                               kSpriteH, kKey));
    MemoryDc tint(gditest::Filled32(kCanvasW, kCanvasH, 0x00FFAFAF));
    ASSERT_TRUE(BitBlt(m_dest, 0, 0, kCanvasW, kCanvasH, tint, 0, 0, SRCAND));
    const Pixels p = gditest::Read(m_dest);
    // At 16 bits the tint itself is stored as 5-5-5: 0xAF keeps its top five bits.
    const COLORREF tintRead = GetParam() == 16 ? Color555(0x56BF) : 0x00FFAFAF;
    for (int y = 0; y < kCanvasH; ++y) {
        for (int x = 0; x < kCanvasW; ++x) {
            ASSERT_EQ(p.At(x, y), Expected(x, y) & tintRead) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenDepth, TransparentCopy, testing::Values(32, 16));

}  // namespace
