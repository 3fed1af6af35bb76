// Raster operations from their truth tables, and the colour <-> monochrome rules.
#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

// Bit (P, S, D) of the code, bit by bit.
uint32_t Reference(uint32_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t result = 0;
    for (int bit = 0; bit < 32; ++bit) {
        const uint32_t index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        result |= ((code >> index) & 1u) << bit;
    }
    return result;
}

uint32_t Mask(int depth) {
    return depth == 1 ? 1 : depth == 16 ? 0x7FFF : ~0u;
}

HBITMAP Row(int depth, const std::vector<uint32_t>& values, void** bits = nullptr) {
    if (depth == 1) {
        const uint8_t packed[2] = {static_cast<uint8_t>(values[0] << 7 | values[1] << 6 |
                                                        values[2] << 5 | values[3] << 4)};
        return CreateBitmap(4, 1, 1, 1, packed);
    }
    return gditest::Dib(
        static_cast<int>(values.size()), 1, depth,
        [&](int x, int) { return values[x] & Mask(depth); }, bits);
}

// At 1 bit the eight (S, D) pairs, at 16 and 32 bits mixed bits, under three brushes.
TEST(RasterOperation, EveryCodeFollowsItsTruthTable) {
    const std::vector<uint32_t> mono[2] = {{0, 0, 1, 1}, {0, 1, 0, 1}};
    const std::vector<uint32_t> wide[2] = {{0x1234, 0x7FFF, 0x0F0F, 0x5A5A, 0x55AA33CC},
                                           {0x6F00, 0x00F0, 0x3C3C, 0x7FFF, 0xA5C3F00F}};
    for (const int depth : {1, 16, 32}) {
        const uint32_t mask = Mask(depth);
        const auto& [values, under] = depth == 1 ? mono : wide;
        const int n = static_cast<int>(values.size());
        MemoryDc source(Row(depth, values));
        for (const COLORREF brushColor : {COLORREF{0}, COLORREF{0xFFFFFF}, RGB(0x9C, 0x63, 0xA5)}) {
            const uint32_t p = depth == 1    ? (brushColor != 0)
                               : depth == 16 ? gditest::To555(brushColor)
                                             : gditest::ToXrgb(brushColor);
            for (uint32_t code = 0; code < 256; ++code) {
                void* bits = nullptr;
                MemoryDc dest(Row(depth, under, &bits));
                HBRUSH brush = CreateSolidBrush(brushColor);
                HGDIOBJ stock = SelectObject(dest, brush);
                ASSERT_TRUE(BitBlt(dest, 0, 0, n, 1, source, 0, 0, code << 16));
                const gditest::Pixels read = gditest::Read(dest);
                for (int x = 0; x < n; ++x) {
                    uint32_t got = read.At(x, 0) & 1;
                    if (depth > 1) {
                        std::memcpy(&got, static_cast<uint8_t*>(bits) + x * depth / 8, depth / 8);
                    }
                    ASSERT_EQ(got, Reference(code, p, values[x] & mask, under[x] & mask) & mask)
                        << "code " << code << " depth " << depth << " pixel " << x;
                }
                SelectObject(dest, stock);
                DeleteObject(brush);
            }
        }
    }
    MemoryDc dest(gditest::Filled(1, 1, 0));  // a source only when the table uses it
    EXPECT_TRUE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, 0x00F00021));  // the stock white brush
    EXPECT_EQ(gditest::Read(dest).At(0, 0), 0x00FFFFFFu);
    EXPECT_FALSE(BitBlt(dest, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

// To monochrome: the source's background colour (from 16 bits compared in 5-5-5) is 1, all
// else 0. Back to colour: 0 is the destination's text colour, 1 its background.
TEST(Monochrome, ComparesWithSourceBackgroundAndPaintsWithDestinationColours) {
    MemoryDc source(Row(16, {0x001F, 0x001E, 0x7C00, 0x001F}));
    MemoryDc mask(CreateBitmap(4, 1, 1, 1, nullptr));
    SetBkColor(source, RGB(3, 2, 0xF9));
    ASSERT_TRUE(BitBlt(mask, 0, 0, 4, 1, source, 0, 0, SRCCOPY));
    EXPECT_EQ(gditest::Read(mask).colors, (std::vector<COLORREF>{0xFFFFFF, 0, 0, 0xFFFFFF}));
    SetTextColor(mask, RGB(9, 9, 9));
    SetBkColor(mask, RGB(8, 8, 8));
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    for (const int depth : {32, 16}) {
        MemoryDc dest(gditest::Filled(4, 1, 0, depth));
        SetTextColor(dest, blue);
        SetBkColor(dest, red);
        ASSERT_TRUE(BitBlt(dest, 0, 0, 4, 1, mask, 0, 0, SRCCOPY));
        EXPECT_EQ(gditest::Read(dest).colors, (std::vector<COLORREF>{red, blue, blue, red}));
    }
}

}  // namespace
