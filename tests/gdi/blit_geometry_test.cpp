// Where pixels land: clipping at every edge, negative sizes, huge values, scaling.
#include <climits>

#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;
using gditest::Pixels;

constexpr int kW = 8;
constexpr int kH = 6;
constexpr COLORREF kUntouched = 0x00123456;

// Source pixel (x, y) has a colour naming it, so a read-back says where it came from.
COLORREF Named(int x, int y) {
    return RGB(x, y, 0x80);
}

HBITMAP NamedSource(int w, int h) {
    const BITMAPINFO info = gditest::DibInfo(w, -h, 32);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            px[y * w + x] =
                (static_cast<uint32_t>(x) << 16) | (static_cast<uint32_t>(y) << 8) | 0x80;
        }
    }
    return bitmap;
}

struct Case {
    const char* name;
    int dx, dy, dw, dh, sx, sy, sw, sh;
    // Source pixel shown at destination (x, y), or false for untouched.
    bool (*expect)(int x, int y, int& sx, int& sy);
};

bool Shifted(int x, int y, int& sx, int& sy, int offX, int offY) {
    sx = x - offX;
    sy = y - offY;
    return sx >= 0 && sy >= 0 && sx < kW && sy < kH;
}

const Case kCases[] = {
    {"identity", 0, 0, kW, kH, 0, 0, kW, kH,
     [](int x, int y, int& sx, int& sy) { return Shifted(x, y, sx, sy, 0, 0); }},
    {"destPastRightBottom", 5, 4, kW, kH, 0, 0, kW, kH,
     [](int x, int y, int& sx, int& sy) { return Shifted(x, y, sx, sy, 5, 4); }},
    {"destNegativeOrigin", -3, -2, kW, kH, 0, 0, kW, kH,
     [](int x, int y, int& sx, int& sy) { return Shifted(x, y, sx, sy, -3, -2); }},
    {"sourceNegativeOrigin", 0, 0, kW, kH, -3, -2, kW, kH,
     [](int x, int y, int& sx, int& sy) { return Shifted(x, y, sx, sy, 3, 2); }},
    {"sourcePastRightBottom", 0, 0, kW, kH, 6, 5, kW, kH,
     [](int x, int y, int& sx, int& sy) {
         return Shifted(x, y, sx, sy, -6, -5) && x < 2 && y < 1;
     }},
    {"destWhollyOutside", kW, 0, kW, kH, 0, 0, kW, kH, [](int, int, int&, int&) { return false; }},
    {"sourceWhollyOutside", 0, 0, kW, kH, -kW, 0, kW, kH,
     [](int, int, int&, int&) { return false; }},
    {"hugeSize", 0, 0, INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX,
     [](int x, int y, int& sx, int& sy) { return Shifted(x, y, sx, sy, 0, 0); }},
    {"extremeOrigins", INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX,
     [](int, int, int&, int&) { return false; }},
    // x + w wraps to -1 in 32 bits; computed wide, both rectangles start at -1.
    {"hugeNegativeSize", INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN,
     [](int x, int y, int& sx, int& sy) { return Shifted(x, y, sx, sy, 0, 0); }},
    // Both sizes negative: the rectangles extend left and up, nothing is mirrored.
    {"bothNegative", kW, kH, -kW, -kH, kW, kH, -kW, -kH,
     [](int x, int y, int& sx, int& sy) { return Shifted(x, y, sx, sy, 0, 0); }},
    // Only the destination negative: mirrored in x.
    {"mirrorX", kW, 0, -kW, kH, 0, 0, kW, kH,
     [](int x, int y, int& sx, int& sy) {
         sx = kW - 1 - x;
         sy = y;
         return true;
     }},
    {"mirrorYClipped", 0, 3, kW, -kH, 0, 0, kW, kH,
     [](int x, int y, int& sx, int& sy) {
         sx = x;
         sy = 2 - y;  // rows -3..2 show source rows 5..0
         return y <= 2;
     }},
    {"up2x", 0, 0, kW, kH, 2, 1, kW / 2, kH / 2,
     [](int x, int y, int& sx, int& sy) {
         sx = 2 + x / 2;
         sy = 1 + y / 2;
         return true;
     }},
    // Shrinking samples the pixel under each destination pixel's centre.
    {"down2x", 0, 0, kW / 2, kH / 2, 0, 0, kW, kH,
     [](int x, int y, int& sx, int& sy) {
         sx = 2 * x + 1;
         sy = 2 * y + 1;
         return x < kW / 2 && y < kH / 2;
     }},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class BlitGeometry : public testing::TestWithParam<Case> {};

TEST_P(BlitGeometry, LandsWhereExpected) {
    const Case& c = GetParam();
    MemoryDc source(NamedSource(kW, kH));
    MemoryDc dest(gditest::Filled32(kW, kH, kUntouched));
    ASSERT_TRUE(StretchBlt(dest, c.dx, c.dy, c.dw, c.dh, source, c.sx, c.sy, c.sw, c.sh, SRCCOPY));
    const Pixels p = gditest::Read(dest);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            int sx = 0, sy = 0;
            const COLORREF want = c.expect(x, y, sx, sy) ? Named(sx, sy) : kUntouched;
            ASSERT_EQ(p.At(x, y), want) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BlitGeometry, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// A sweep of origins around every edge of both bitmaps, through BitBlt and
// TransparentBlt: only the overlap is drawn, nothing outside is touched (ASan).
TEST(BlitClipping, SweepOfOrigins) {
    MemoryDc source(NamedSource(kW, kH));
    for (int d = -kW - 1; d <= kW + 1; ++d) {
        for (int s = -kW - 1; s <= kW + 1; ++s) {
            const int dy = -d / 2, sy0 = s / 2;
            MemoryDc viaBitBlt(gditest::Filled32(kW, kH, kUntouched));
            MemoryDc viaTransparent(gditest::Filled32(kW, kH, kUntouched));
            ASSERT_TRUE(BitBlt(viaBitBlt, d, dy, kW, kH, source, s, sy0, SRCCOPY));
            ASSERT_TRUE(
                TransparentBlt(viaTransparent, d, dy, kW, kH, source, s, sy0, kW, kH, kUntouched));
            const Pixels a = gditest::Read(viaBitBlt);
            const Pixels b = gditest::Read(viaTransparent);
            for (int y = 0; y < kH; ++y) {
                for (int x = 0; x < kW; ++x) {
                    const int sx = x - d + s, sy = y - dy + sy0;
                    const bool inRect = x - d >= 0 && x - d < kW && y - dy >= 0 && y - dy < kH;
                    const bool inSource = sx >= 0 && sx < kW && sy >= 0 && sy < kH;
                    const COLORREF want = inRect && inSource ? Named(sx, sy) : kUntouched;
                    ASSERT_EQ(a.At(x, y), want) << d << " " << s << " at " << x << "," << y;
                    ASSERT_EQ(b.At(x, y), want) << d << " " << s << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(BlitClipping, TransparentBltRefusesMirroring) {
    MemoryDc source(NamedSource(kW, kH));
    MemoryDc dest(gditest::Filled32(kW, kH, kUntouched));
    EXPECT_FALSE(TransparentBlt(dest, kW, 0, -kW, kH, source, 0, 0, kW, kH, 0));
}

// A top-down and a bottom-up DIB of the same picture draw the same; for bottom-up
// the source y counts from the bottom.
TEST(StretchDIBits, TopDownAndBottomUpAgree) {
    const int w = 3, h = 4;
    uint16_t topDown[4][4] = {};  // 3 pixels padded to 4 per row (DWORD rows)
    uint16_t bottomUp[4][4] = {};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            topDown[y][x] = static_cast<uint16_t>((y << 10) | (x << 5) | 7);
            bottomUp[h - 1 - y][x] = topDown[y][x];
        }
    }
    const BITMAPINFO down = gditest::DibInfo(w, -h, 16);
    const BITMAPINFO up = gditest::DibInfo(w, h, 16);
    MemoryDc a(gditest::Filled32(w, h, kUntouched));
    MemoryDc b(gditest::Filled32(w, h, kUntouched));
    EXPECT_EQ(StretchDIBits(a, 0, 0, w, h, 0, 0, w, h, topDown, &down, DIB_RGB_COLORS, SRCCOPY), h);
    EXPECT_EQ(StretchDIBits(b, 0, 0, w, h, 0, 0, w, h, bottomUp, &up, DIB_RGB_COLORS, SRCCOPY), h);
    const Pixels pa = gditest::Read(a);
    EXPECT_EQ(pa.colors, gditest::Read(b).colors);
    EXPECT_EQ(pa.At(2, 3), gditest::Color555((3 << 10) | (2 << 5) | 7));

    // The bottom row only: ySrc 0 of a bottom-up DIB is its last row.
    MemoryDc c(gditest::Filled32(w, h, kUntouched));
    StretchDIBits(c, 0, 0, w, 1, 0, 0, w, 1, bottomUp, &up, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(gditest::Read(c).At(1, 0), pa.At(1, 3));
}

TEST(StretchDIBits, TwentyFourBitsScaledUp) {
    const uint8_t bgr[4] = {0x11, 0x22, 0x33, 0};  // one pixel, row padded to 4 bytes
    const BITMAPINFO info = gditest::DibInfo(1, -1, 24);
    MemoryDc dest(gditest::Filled32(2, 2, kUntouched));
    EXPECT_EQ(StretchDIBits(dest, 0, 0, 2, 2, 0, 0, 1, 1, bgr, &info, DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(gditest::Read(dest).colors, std::vector<COLORREF>(4, RGB(0x33, 0x22, 0x11)));
}

TEST(StretchDIBits, RefusesUnsupportedHeaders) {
    const uint32_t pixel = 0;
    MemoryDc dest(gditest::Filled32(1, 1, kUntouched));
    for (const int bits : {1, 4, 8, 15}) {
        const BITMAPINFO info = gditest::DibInfo(1, 1, bits);
        EXPECT_EQ(
            StretchDIBits(dest, 0, 0, 1, 1, 0, 0, 1, 1, &pixel, &info, DIB_RGB_COLORS, SRCCOPY), 0);
    }
    BITMAPINFO zeroWidth = gditest::DibInfo(0, 1, 32);
    EXPECT_EQ(
        StretchDIBits(dest, 0, 0, 1, 1, 0, 0, 1, 1, &pixel, &zeroWidth, DIB_RGB_COLORS, SRCCOPY),
        0);
    EXPECT_EQ(gditest::Read(dest).At(0, 0), kUntouched);
}

}  // namespace
