// Unscaled copies take whole-row shortcuts; shrinking by two takes the per-pixel
// path. Copying a picture 1:1 and copying the same picture at twice the size shrunk
// by two must leave identical bits, key matching and clipping included.
#include <cstring>
#include <random>

#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

constexpr COLORREF kBlueKey = 0x00FF0000;

// A top-down DIB section whose bits the test reads and writes directly.
struct Dib {
    HBITMAP bitmap = nullptr;
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int depth = 0;

    Dib(int w, int h, int bitsPerPixel) : width(w), height(h), depth(bitsPerPixel) {
        const BITMAPINFO info = gditest::DibInfo(w, -h, bitsPerPixel);
        void* p = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        EXPECT_NE(bitmap, nullptr);
        bits = static_cast<uint8_t*>(p);
    }
    size_t Stride() const { return (static_cast<size_t>(width) * (depth / 8) + 3) & ~size_t{3}; }
    size_t Bytes() const { return Stride() * static_cast<size_t>(height); }
    uint32_t Get(int x, int y) const {
        uint32_t v = 0;
        std::memcpy(&v, bits + y * Stride() + x * (depth / 8), depth / 8);
        return v;
    }
    void Put(int x, int y, uint32_t v) {
        std::memcpy(bits + y * Stride() + x * (depth / 8), &v, depth / 8);
    }
};

struct Formats {
    int source;
    int dest;
};

void PrintTo(const Formats& f, std::ostream* os) {
    *os << f.source << "to" << f.dest;
}

class WholeRowCopy : public testing::TestWithParam<Formats> {
protected:
    std::mt19937 rng{20261206};

    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // The source pixel showing `key`: narrowed to 5-5-5, or the word 0x00RRGGBB.
    static uint32_t KeyInSource(COLORREF key, int depth) {
        const uint32_t r = key & 0xFF, g = (key >> 8) & 0xFF, b = (key >> 16) & 0xFF;
        return depth == 16 ? ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)
                           : (r << 16) | (g << 8) | b;
    }

    // Mostly the key's pixel, with unused bits set or one colour bit off; the rest any.
    uint32_t SourcePixel(uint32_t keyPixel) {
        const bool wide = GetParam().source == 32;
        switch (Between(0, 4)) {
            case 0:
                return keyPixel;
            case 1:
                return keyPixel | (wide ? 0xFF000000u : 0x8000u);
            case 2:
                return keyPixel ^ (1u << Between(0, wide ? 23 : 14));
            default:
                return static_cast<uint32_t>(rng());
        }
    }

    // Picture 1:1 against the same picture doubled and shrunk, from one origin.
    void Compare(bool transparent, COLORREF key) {
        const Formats f = GetParam();
        const uint32_t keyPixel = KeyInSource(key, f.source);
        const int w = Between(1, 24), h = Between(1, 24);
        Dib picture(w, h, f.source), doubled(2 * w, 2 * h, f.source);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint32_t v = SourcePixel(keyPixel);
                picture.Put(x, y, v);
                for (int n = 0; n < 4; ++n) {
                    doubled.Put(2 * x + n % 2, 2 * y + n / 2, v);
                }
            }
        }
        const int dw = Between(1, 24), dh = Between(1, 24);
        Dib fast(dw, dh, f.dest), generic(dw, dh, f.dest);
        for (size_t i = 0; i < fast.Bytes(); ++i) {
            fast.bits[i] = generic.bits[i] = static_cast<uint8_t>(rng());
        }
        const int dx = Between(-8, dw), dy = Between(-8, dh);
        const int sx = Between(-8, w), sy = Between(-8, h);
        const int cw = Between(0, 30), ch = Between(0, 30);
        MemoryDc from1(picture.bitmap), from2(doubled.bitmap), to1(fast.bitmap),
            to2(generic.bitmap);
        if (transparent) {
            TransparentBlt(to1, dx, dy, cw, ch, from1, sx, sy, cw, ch, key);
            TransparentBlt(to2, dx, dy, cw, ch, from2, 2 * sx, 2 * sy, 2 * cw, 2 * ch, key);
        } else {
            BitBlt(to1, dx, dy, cw, ch, from1, sx, sy, SRCCOPY);
            StretchBlt(to2, dx, dy, cw, ch, from2, 2 * sx, 2 * sy, 2 * cw, 2 * ch, SRCCOPY);
        }
        for (int y = 0; y < dh; ++y) {
            for (int x = 0; x < dw; ++x) {
                ASSERT_EQ(fast.Get(x, y), generic.Get(x, y))
                    << x << "," << y << " of " << dw << "x" << dh << " from " << sx << "," << sy
                    << " of " << w << "x" << h << " size " << cw << "x" << ch << " at " << dx << ","
                    << dy;
            }
        }
    }
};

TEST_P(WholeRowCopy, OpaqueMatchesPerPixelPath) {
    for (int n = 0; n < 300; ++n) {
        Compare(false, kBlueKey);
    }
}

TEST_P(WholeRowCopy, KeyedMatchesPerPixelPath) {
    // The avatars' blue, one a 5-5-5 pixel cannot reach, one with a high byte set.
    for (COLORREF key : {kBlueKey, COLORREF{0x00FE0000}, COLORREF{0x01FF0000}}) {
        for (int n = 0; n < 200; ++n) {
            Compare(true, key);
        }
    }
}

TEST_P(WholeRowCopy, KeyedWithRandomReachableKeys) {
    for (int n = 0; n < 300; ++n) {
        Compare(true, gditest::Color555(static_cast<uint32_t>(Between(0, 0x7FFF))));
    }
}

// Every 16-bit value, bit 15 included, through both the opaque and the keyed row
// copies, against the documented widening.
TEST(RowWidening, EveryPixelValue) {
    Dib picture(256, 256, 16), opaque(256, 256, 32), keyed(256, 256, 32);
    for (uint32_t v = 0; v < 0x10000; ++v) {
        picture.Put(static_cast<int>(v % 256), static_cast<int>(v / 256), v);
    }
    std::memset(keyed.bits, 0xA5, keyed.Bytes());
    MemoryDc from(picture.bitmap), to1(opaque.bitmap), to2(keyed.bitmap);
    ASSERT_TRUE(BitBlt(to1, 0, 0, 256, 256, from, 0, 0, SRCCOPY));
    ASSERT_TRUE(TransparentBlt(to2, 0, 0, 256, 256, from, 0, 0, 256, 256, kBlueKey));
    for (uint32_t v = 0; v < 0x10000; ++v) {
        const int x = static_cast<int>(v % 256), y = static_cast<int>(v / 256);
        const COLORREF c = gditest::Color555(v);
        const uint32_t word = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        ASSERT_EQ(opaque.Get(x, y), word) << std::hex << v;
        ASSERT_EQ(keyed.Get(x, y), (v & 0x7FFF) == 0x001F ? 0xA5A5A5A5u : word) << std::hex << v;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, WholeRowCopy,
                         testing::Values(Formats{16, 32}, Formats{32, 32}, Formats{16, 16},
                                         Formats{32, 16}),
                         [](const testing::TestParamInfo<Formats>& info) {
                             return "From" + std::to_string(info.param.source) + "To" +
                                    std::to_string(info.param.dest);
                         });

}  // namespace
