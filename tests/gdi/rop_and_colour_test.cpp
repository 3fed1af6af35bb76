// Raster operations from their truth tables, and the colour <-> monochrome rules.
#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

// The result the truth table in bits 16 to 23 gives, bit by bit.
uint32_t Reference(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t result = 0;
    for (int bit = 0; bit < 24; ++bit) {
        const int index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        result |= (((rop >> 16) >> index) & 1u) << bit;
    }
    return result;
}

class RasterOperation : public testing::TestWithParam<DWORD> {};

// The pattern is the selected brush; the operation is bitwise, so channel order is moot.
TEST_P(RasterOperation, FollowsTruthTable) {
    const COLORREF p = 0x00C3A50F, s = 0x00F0CC55, d = 0x00AA33F0;
    MemoryDc source(gditest::Filled(1, 1, s));
    MemoryDc dest(gditest::Filled(1, 1, d));
    HBRUSH brush = CreateSolidBrush(p);
    HGDIOBJ stock = SelectObject(dest, brush);
    ASSERT_TRUE(BitBlt(dest, 0, 0, 1, 1, source, 0, 0, GetParam()));
    EXPECT_EQ(gditest::Read(dest).At(0, 0), Reference(GetParam(), p, s, d));
    SelectObject(dest, stock);
    DeleteObject(brush);
}

// The library's codes, standard ones, and codes in no list.
INSTANTIATE_TEST_SUITE_P(Codes, RasterOperation,
                         testing::Values(SRCCOPY, SRCAND, SRCPAINT, 0x00220326u, SRCINVERT,
                                         NOTSRCCOPY, BLACKNESS, WHITENESS, 0x00F00021u, 0x005A0049u,
                                         0x00B10000u, 0x001D0000u, 0x00E20000u, 0x00990000u));

TEST(RasterOperation, SourceNeededOnlyWhenTheTableUsesIt) {
    MemoryDc dest(gditest::Filled(1, 1, 0));
    EXPECT_TRUE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, 0x00F00021));  // the stock white brush
    EXPECT_EQ(gditest::Read(dest).At(0, 0), 0x00FFFFFFu);
    EXPECT_FALSE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

// Colour to monochrome: the source DC's background colour becomes 1, all else 0;
// from 16 bits the raw pixel is compared with the background taken to 5-5-5.
TEST(Monochrome, FromColourComparesWithSourceBackground) {
    const uint32_t raw[4] = {0x001F, 0x001E, 0x7C00, 0x001F};
    MemoryDc source(gditest::Dib(4, 1, 16, [&](int x, int) { return raw[x]; }));
    MemoryDc mask(CreateBitmap(4, 1, 1, 1, nullptr));
    SetBkColor(source, RGB(3, 2, 0xF9));  // 5-5-5: 0x001F
    ASSERT_TRUE(BitBlt(mask, 0, 0, 4, 1, source, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(mask).colors, (std::vector<COLORREF>{0xFFFFFF, 0, 0, 0xFFFFFF}));
}

// Monochrome to colour: 0 is the destination's text colour, 1 its background.
TEST(Monochrome, ToColourUsesDestinationColours) {
    const uint8_t bits[2] = {0xA0, 0};  // 1 0 1 0, row padded to a word
    MemoryDc mask(CreateBitmap(4, 1, 1, 1, bits));
    SetTextColor(mask, RGB(9, 9, 9));  // the source's colours play no part
    SetBkColor(mask, RGB(8, 8, 8));
    for (const int depth : {32, 16}) {
        kvplatform::SetScreenDepth(depth);
        MemoryDc dest(gditest::Filled(4, 1, 0));
        SetTextColor(dest, RGB(0, 0, 255));
        SetBkColor(dest, RGB(255, 0, 0));
        ASSERT_TRUE(BitBlt(dest, 0, 0, 4, 1, mask, 0, 0, SRCCOPY));
        const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
        EXPECT_EQ(gditest::Read(dest).colors, (std::vector<COLORREF>{red, blue, red, blue}))
            << depth;
    }
    kvplatform::SetScreenDepth(32);
}

// 5 bits widen as (v << 3) | (v >> 2), bit 15 is ignored; 8 bits narrow to their top five.
TEST(Colour, SixteenBitExpandsAndTruncates) {
    const uint32_t raw[4] = {0x001F, 0x7FFF, 0x4210, 0x801F};
    MemoryDc source(gditest::Dib(4, 1, 16, [&](int x, int) { return raw[x]; }));
    MemoryDc dest(gditest::Filled(4, 1, 0));
    ASSERT_TRUE(BitBlt(dest, 0, 0, 4, 1, source, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(dest).colors,
              (std::vector<COLORREF>{0x00FF0000, 0x00FFFFFF, RGB(0x84, 0x84, 0x84), 0x00FF0000}));

    MemoryDc back(gditest::Dib(1, 1, 16, [](int, int) { return 0; }));
    MemoryDc colour(gditest::Filled(1, 1, RGB(0xFF, 0x87, 0x07)));
    ASSERT_TRUE(BitBlt(back, 0, 0, 1, 1, colour, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(back).At(0, 0), gditest::Color555((31 << 10) | (16 << 5) | 0));
}

}  // namespace
