// Where pixels land: clipping at every edge, negative sizes, huge values, scaling,
// and DIB row order.
#include <climits>

#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

constexpr int kW = 8;
constexpr int kH = 6;
constexpr COLORREF kUntouched = 0x00123456;

// Source pixel (x, y) has a colour naming it, so a read-back says where it came from.
COLORREF Named(int x, int y) {
    return RGB(x, y, 0x80);
}

HBITMAP NamedSource() {
    return gditest::Dib(kW, kH, 32, [](int x, int y) { return (x << 16) | (y << 8) | 0x80; });
}

// Destination coordinate v shows source coordinate (m * v + c) / d; outside the
// source means untouched.
struct Axis {
    int m, c, d;
    int At(int v) const { return (m * v + c) / d; }
};
constexpr Axis kSame{1, 0, 1};
constexpr Axis kNone{0, -1, 1};

struct Case {
    const char* name;
    int dx, dy, dw, dh, sx, sy, sw, sh;
    Axis x, y;
};

const Case kCases[] = {
    {"hugeSize", 0, 0, INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX, kSame, kSame},
    {"extremeOrigins", INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX,
     kNone, kNone},
    // x + w wraps to -1 in 32 bits; computed wide, both rectangles start at -1.
    {"hugeNegativeSize", INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN,
     kSame, kSame},
    // Both sizes negative: the rectangles extend left and up, nothing is mirrored.
    {"bothNegative", kW, kH, -kW, -kH, kW, kH, -kW, -kH, kSame, kSame},
    // Only the destination negative: mirrored.
    {"mirrorX", kW, 0, -kW, kH, 0, 0, kW, kH, {-1, kW - 1, 1}, kSame},
    {"mirrorYClipped", 0, 3, kW, -kH, 0, 0, kW, kH, kSame, {-1, 2, 1}},
    {"up2x", 0, 0, kW, kH, 2, 1, kW / 2, kH / 2, {1, 4, 2}, {1, 2, 2}},
    // Shrinking samples the pixel under each destination pixel's centre.
    {"down2x", 0, 0, kW / 2, kH / 2, 0, 0, kW, kH, {2, 1, 1}, {2, 1, 1}},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class StretchGeometry : public testing::TestWithParam<Case> {};

TEST_P(StretchGeometry, LandsWhereExpected) {
    const Case& c = GetParam();
    MemoryDc source(NamedSource());
    MemoryDc dest(gditest::Filled(kW, kH, kUntouched));
    ASSERT_TRUE(StretchBlt(dest, c.dx, c.dy, c.dw, c.dh, source, c.sx, c.sy, c.sw, c.sh, SRCCOPY));
    const gditest::Pixels p = gditest::Read(dest);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const int sx = c.x.At(x), sy = c.y.At(y);
            const bool inSource = sx >= 0 && sy >= 0 && sx < kW && sy < kH;
            ASSERT_EQ(p.At(x, y), inSource ? Named(sx, sy) : kUntouched) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StretchGeometry, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// Origins around every edge of both bitmaps, through BitBlt and TransparentBlt: only
// the overlap is drawn, nothing outside is touched (ASan).
TEST(BlitClipping, SweepOfOrigins) {
    MemoryDc source(NamedSource());
    for (int d = -kW - 1; d <= kW + 1; ++d) {
        for (int s = -kW - 1; s <= kW + 1; ++s) {
            const int dy = -d / 2, sy0 = s / 2;
            MemoryDc viaBitBlt(gditest::Filled(kW, kH, kUntouched));
            MemoryDc viaTransparent(gditest::Filled(kW, kH, kUntouched));
            ASSERT_TRUE(BitBlt(viaBitBlt, d, dy, kW, kH, source, s, sy0, SRCCOPY));
            ASSERT_TRUE(
                TransparentBlt(viaTransparent, d, dy, kW, kH, source, s, sy0, kW, kH, kUntouched));
            const gditest::Pixels a = gditest::Read(viaBitBlt);
            const gditest::Pixels b = gditest::Read(viaTransparent);
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
    MemoryDc dest(gditest::Filled(kW, kH, kUntouched));
    EXPECT_FALSE(TransparentBlt(dest, kW, 0, -kW, kH, source, 0, 0, kW, kH, 0));  // no mirroring
}

// A top-down and a bottom-up DIB of the same picture draw the same; for bottom-up
// the source y counts from the bottom.
TEST(StretchDIBits, TopDownAndBottomUpAgree) {
    uint16_t topDown[4][4] = {}, bottomUp[4][4] = {};  // 3 pixels a row, DWORD rows
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) {
            topDown[y][x] = bottomUp[3 - y][x] = static_cast<uint16_t>((y << 10) | (x << 5) | 7);
        }
    }
    const BITMAPINFO down = gditest::DibInfo(3, -4, 16), up = gditest::DibInfo(3, 4, 16);
    MemoryDc a(gditest::Filled(3, 4, kUntouched)), b(gditest::Filled(3, 4, kUntouched));
    EXPECT_EQ(StretchDIBits(a, 0, 0, 3, 4, 0, 0, 3, 4, topDown, &down, DIB_RGB_COLORS, SRCCOPY), 4);
    EXPECT_EQ(StretchDIBits(b, 0, 0, 3, 4, 0, 0, 3, 4, bottomUp, &up, DIB_RGB_COLORS, SRCCOPY), 4);
    EXPECT_EQ(gditest::Read(a).colors, gditest::Read(b).colors);
    EXPECT_EQ(gditest::Read(a).At(2, 3), gditest::Color555((3 << 10) | (2 << 5) | 7));
    StretchDIBits(a, 0, 0, 3, 1, 0, 0, 3, 1, bottomUp, &up, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(gditest::Read(a).At(1, 0), gditest::Read(b).At(1, 3));
}

TEST(StretchDIBits, TwentyFourBitsScaledUpAndBadHeadersRefused) {
    const uint8_t bgr[4] = {0x11, 0x22, 0x33, 0};  // one pixel, row padded to 4 bytes
    const BITMAPINFO info = gditest::DibInfo(1, -1, 24);
    MemoryDc dest(gditest::Filled(2, 2, kUntouched));
    EXPECT_EQ(StretchDIBits(dest, 0, 0, 2, 2, 0, 0, 1, 1, bgr, &info, DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(gditest::Read(dest).colors, std::vector<COLORREF>(4, RGB(0x33, 0x22, 0x11)));

    for (const BITMAPINFO& bad :
         {gditest::DibInfo(1, 1, 8), gditest::DibInfo(1, 1, 15), gditest::DibInfo(0, 1, 32)}) {
        EXPECT_EQ(StretchDIBits(dest, 0, 0, 1, 1, 0, 0, 1, 1, bgr, &bad, DIB_RGB_COLORS, SRCCOPY),
                  0);
    }
    EXPECT_EQ(gditest::Read(dest).At(0, 0), RGB(0x33, 0x22, 0x11));
}

}  // namespace
