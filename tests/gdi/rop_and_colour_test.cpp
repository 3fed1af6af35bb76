// Raster operations from their truth tables, and the colour <-> monochrome rules.
#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

// The result the truth table gives, bit by bit: bit (P, S, D) of the table code.
uint32_t Reference(uint32_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t result = 0;
    for (int bit = 0; bit < 32; ++bit) {
        const uint32_t index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        result |= ((code >> index) & 1u) << bit;
    }
    return result;
}

// Raw pixels read back: a DIB section's bits, or a monochrome bitmap's 0 and 1.
struct Row {
    int depth;
    uint32_t mask;
    HBITMAP Make(const std::vector<uint32_t>& values, gditest::DibBits* bits) const {
        if (depth == 1) {
            std::vector<uint8_t> packed(((values.size() + 15) / 16) * 2);
            for (size_t x = 0; x < values.size(); ++x) {
                packed[x / 8] |= static_cast<uint8_t>((values[x] & 1) << (7 - x % 8));
            }
            return CreateBitmap(static_cast<int>(values.size()), 1, 1, 1, packed.data());
        }
        return gditest::Dib(
            static_cast<int>(values.size()), 1, depth,
            [&](int x, int) { return values[static_cast<size_t>(x)] & mask; }, bits);
    }
    uint32_t Get(HDC dc, const gditest::DibBits& bits, int x) const {
        return depth == 1 ? gditest::Read(dc).At(x, 0) & 1 : bits.Get(x, 0);
    }
};

// Every code at every depth, each pixel against the table: at 1 bit the eight (S, D)
// pairs under a black and a white brush; at 16 and 32 bits mixed bits in all three.
TEST(RasterOperation, EveryCodeFollowsItsTruthTable) {
    const std::vector<uint32_t> mono[2] = {{0, 0, 1, 1}, {0, 1, 0, 1}};
    const std::vector<uint32_t> wide[2] = {{0x1234, 0x7FFF, 0x0F0F, 0x5A5A, 0x55AA33CC},
                                           {0x6F00, 0x00F0, 0x3C3C, 0x7FFF, 0xA5C3F00F}};
    for (const int depth : {1, 16, 32}) {
        const uint32_t mask = depth == 1 ? 1 : depth == 16 ? 0x7FFF : 0xFFFFFFFF;
        const Row row{depth, mask};
        for (const COLORREF brushColor : {COLORREF{0}, COLORREF{0xFFFFFF}, RGB(0x9C, 0x63, 0xA5)}) {
            const uint32_t p = depth == 1    ? (brushColor != 0)
                               : depth == 16 ? gditest::To555(brushColor)
                                             : gditest::ToXrgb(brushColor);
            const auto& values = depth == 1 ? mono : wide;
            MemoryDc source(row.Make(values[0], nullptr));
            for (uint32_t code = 0; code < 256; ++code) {
                gditest::DibBits bits;
                MemoryDc dest(row.Make(values[1], &bits));
                HBRUSH brush = CreateSolidBrush(brushColor);
                HGDIOBJ stock = SelectObject(dest, brush);
                const int n = static_cast<int>(values[0].size());
                ASSERT_TRUE(BitBlt(dest, 0, 0, n, 1, source, 0, 0, code << 16));
                for (int x = 0; x < n; ++x) {
                    const uint32_t s = values[0][x] & mask, d = values[1][x] & mask;
                    ASSERT_EQ(row.Get(dest, bits, x), Reference(code, p, s, d) & mask)
                        << "code " << code << " depth " << depth << " pixel " << x;
                }
                SelectObject(dest, stock);
                DeleteObject(brush);
            }
        }
    }
}

TEST(RasterOperation, SourceNeededOnlyWhenTheTableUsesIt) {
    MemoryDc dest(gditest::Filled(1, 1, 0));
    EXPECT_TRUE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, 0x00F00021));  // the stock white brush
    EXPECT_EQ(gditest::Read(dest).At(0, 0), 0x00FFFFFFu);
    EXPECT_FALSE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

// Colour to monochrome: the source DC's background colour becomes 1, all else 0 (from
// 16 bits the raw pixel against the background in 5-5-5). Back to colour: 0 is the
// destination's text colour, 1 its background, whatever the source's colours are.
TEST(Monochrome, ComparesWithSourceBackgroundAndPaintsWithDestinationColours) {
    const uint32_t raw[4] = {0x001F, 0x001E, 0x7C00, 0x001F};
    MemoryDc source(gditest::Dib(4, 1, 16, [&](int x, int) { return raw[x]; }));
    MemoryDc mask(CreateBitmap(4, 1, 1, 1, nullptr));
    SetBkColor(source, RGB(3, 2, 0xF9));
    ASSERT_TRUE(BitBlt(mask, 0, 0, 4, 1, source, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(mask).colors, (std::vector<COLORREF>{0xFFFFFF, 0, 0, 0xFFFFFF}));
    SetTextColor(mask, RGB(9, 9, 9));
    SetBkColor(mask, RGB(8, 8, 8));
    for (const int depth : {32, 16}) {
        const gditest::ScreenDepth screen(depth);
        MemoryDc dest(gditest::Filled(4, 1, 0));
        SetTextColor(dest, RGB(0, 0, 255));
        SetBkColor(dest, RGB(255, 0, 0));
        ASSERT_TRUE(BitBlt(dest, 0, 0, 4, 1, mask, 0, 0, SRCCOPY));
        const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
        EXPECT_EQ(gditest::Read(dest).colors, (std::vector<COLORREF>{red, blue, blue, red}))
            << depth;
    }
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
