// Raster operations from their truth tables, and the colour <-> monochrome rules.
#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

// The result a truth table gives bit by bit, with the pattern black (the stock
// white brush is replaced by a black one in these tests).
uint32_t Reference(DWORD rop, uint32_t s, uint32_t d) {
    uint32_t result = 0;
    for (int bit = 0; bit < 24; ++bit) {
        const int index = (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        result |= (((rop >> 16) >> index) & 1u) << bit;
    }
    return result;
}

COLORREF Swap(uint32_t xrgb) {
    return RGB((xrgb >> 16) & 0xFF, (xrgb >> 8) & 0xFF, xrgb & 0xFF);
}

class RasterOperation : public testing::TestWithParam<DWORD> {};

TEST_P(RasterOperation, FollowsTruthTable) {
    const COLORREF s = 0x00F0CC55, d = 0x00AA33F0;
    MemoryDc source(gditest::Filled32(1, 1, s));
    MemoryDc dest(gditest::Filled32(1, 1, d));
    HBRUSH black = CreateSolidBrush(0);
    HGDIOBJ old = SelectObject(dest, black);
    ASSERT_TRUE(BitBlt(dest, 0, 0, 1, 1, source, 0, 0, GetParam()));
    SelectObject(dest, old);
    DeleteObject(black);
    EXPECT_EQ(gditest::Read(dest).At(0, 0), Swap(Reference(GetParam(), Swap(s), Swap(d))));
}

// The library's codes, standard ones, and 0x001D0000-style codes in no list.
INSTANTIATE_TEST_SUITE_P(Codes, RasterOperation,
                         testing::Values(SRCCOPY, SRCAND, SRCPAINT, 0x00220326u, SRCINVERT,
                                         NOTSRCCOPY, BLACKNESS, WHITENESS, 0x00B10000u, 0x001D0000u,
                                         0x00990000u));

TEST(RasterOperation, PatternIsTheSelectedBrush) {
    MemoryDc dest(gditest::Filled32(2, 1, 0x00000000));
    HBRUSH red = CreateSolidBrush(RGB(200, 0, 0));
    HGDIOBJ stock = SelectObject(dest, red);
    ASSERT_TRUE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, 0x00F00021));  // PATCOPY, no source
    EXPECT_EQ(SelectObject(dest, stock), red);
    ASSERT_TRUE(BitBlt(dest, 1, 0, 1, 1, nullptr, 0, 0, 0x00F00021));  // the stock white brush
    EXPECT_EQ(gditest::Read(dest).colors, (std::vector<COLORREF>{RGB(200, 0, 0), 0x00FFFFFF}));
    DeleteObject(red);
    EXPECT_FALSE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));  // needs a source
}

// Colour to monochrome: the source DC's background colour becomes 1, all else 0;
// from 16 bits the raw pixel is compared with the background taken to 5-5-5.
TEST(Monochrome, FromColourComparesWithSourceBackground) {
    const uint32_t raw[4] = {0x001F, 0x001E, 0x7C00, 0x001F};
    MemoryDc source(gditest::Dib16(4, 1, [&](int x, int) { return raw[x]; }));
    MemoryDc mask(CreateBitmap(4, 1, 1, 1, nullptr));
    SetBkColor(source, RGB(3, 2, 0xF9));  // 5-5-5: 0x001F
    ASSERT_TRUE(BitBlt(mask, 0, 0, 4, 1, source, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(mask).colors, (std::vector<COLORREF>{0xFFFFFF, 0, 0, 0xFFFFFF}));

    MemoryDc source32(gditest::Filled32(2, 1, RGB(1, 2, 3)));
    MemoryDc mask32(CreateBitmap(2, 1, 1, 1, nullptr));
    SetBkColor(source32, RGB(1, 2, 3));
    ASSERT_TRUE(BitBlt(mask32, 0, 0, 1, 1, source32, 0, 0, SRCCOPY));
    SetBkColor(source32, RGB(1, 2, 4));
    ASSERT_TRUE(BitBlt(mask32, 1, 0, 1, 1, source32, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(mask32).colors, (std::vector<COLORREF>{0xFFFFFF, 0}));
}

// Monochrome to colour: 0 is the destination's text colour, 1 its background.
TEST(Monochrome, ToColourUsesDestinationColours) {
    const uint8_t bits[2] = {0xA0, 0};  // 1 0 1 0, row padded to a word
    MemoryDc mask(CreateBitmap(4, 1, 1, 1, bits));
    SetTextColor(mask, RGB(9, 9, 9));  // the source's colours play no part
    SetBkColor(mask, RGB(8, 8, 8));
    for (const int depth : {32, 16}) {
        kvplatform::SetScreenDepth(depth);
        HDC screen = GetDC(nullptr);
        MemoryDc dest(CreateCompatibleBitmap(screen, 4, 1));
        ReleaseDC(nullptr, screen);
        SetTextColor(dest, RGB(0, 0, 255));
        SetBkColor(dest, RGB(255, 0, 0));
        ASSERT_TRUE(BitBlt(dest, 0, 0, 4, 1, mask, 0, 0, SRCCOPY));
        const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
        EXPECT_EQ(gditest::Read(dest).colors, (std::vector<COLORREF>{red, blue, red, blue}))
            << depth;
    }
    kvplatform::SetScreenDepth(32);
}

TEST(Colour, SixteenBitExpandsAndTruncates) {
    MemoryDc source(gditest::Dib16(3, 1, [](int x, int) {
        return x == 0 ? 0x001F : x == 1 ? 0x7FFF : 0x4210;
    }));
    MemoryDc dest(gditest::Filled32(3, 1, 0));
    ASSERT_TRUE(BitBlt(dest, 0, 0, 3, 1, source, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(dest).colors,
              (std::vector<COLORREF>{0x00FF0000, 0x00FFFFFF, RGB(0x84, 0x84, 0x84)}));

    // 8 bits to 5 keeps the top five bits.
    MemoryDc back(gditest::Dib16(1, 1, [](int, int) { return 0; }));
    MemoryDc colour(gditest::Filled32(1, 1, RGB(0xFF, 0x87, 0x07)));
    ASSERT_TRUE(BitBlt(back, 0, 0, 1, 1, colour, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(back).At(0, 0), gditest::Color555((31 << 10) | (16 << 5) | 0));
}

}  // namespace
