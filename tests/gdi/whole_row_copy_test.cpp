// Unscaled copies take whole-row shortcuts; shrinking by two takes the per-pixel
// path. Copying a picture 1:1 and copying the same picture at twice the size shrunk
// by two must leave identical bits, key matching and clipping included.
#include <random>
#include <string>
#include <vector>

#include "gdi_test_util.h"

namespace {

using gditest::MemoryDc;

struct Formats {
    int source;
    int dest;
};

class WholeRowCopy : public testing::TestWithParam<Formats> {
protected:
    std::mt19937 rng{20261206};

    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // Mostly the key's own pixel, with unused bits set or one colour bit off; the rest any.
    uint32_t SourcePixel(COLORREF key) {
        const bool wide = GetParam().source == 32;
        const uint32_t r = key & 0xFF, g = (key >> 8) & 0xFF, b = (key >> 16) & 0xFF;
        const uint32_t keyPixel =
            wide ? (r << 16) | (g << 8) | b : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
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

    // Picture 1:1 against the same picture doubled and shrunk, from one random origin.
    void Compare(bool transparent, COLORREF key) {
        const Formats f = GetParam();
        const int w = Between(1, 24), h = Between(1, 24);
        std::vector<uint32_t> values(static_cast<size_t>(w * h));
        for (uint32_t& v : values) {
            v = SourcePixel(key);
        }
        const auto value = [&](int x, int y) { return values[static_cast<size_t>(y * w + x)]; };
        MemoryDc picture(gditest::Dib(w, h, f.source, value));
        MemoryDc doubled(gditest::Dib(2 * w, 2 * h, f.source,
                                      [&](int x, int y) { return value(x / 2, y / 2); }));
        const int dw = Between(1, 24), dh = Between(1, 24);
        const uint32_t seed = rng();
        const auto noise = [seed](int x, int y) { return seed * 2654435761u ^ (y * 977u + x); };
        gditest::DibBits fastBits, genericBits;
        MemoryDc fast(gditest::Dib(dw, dh, f.dest, noise, &fastBits));
        MemoryDc generic(gditest::Dib(dw, dh, f.dest, noise, &genericBits));
        const int dx = Between(-8, dw), dy = Between(-8, dh);
        const int sx = Between(-8, w), sy = Between(-8, h);
        const int cw = Between(0, 30), ch = Between(0, 30);
        if (transparent) {
            TransparentBlt(fast, dx, dy, cw, ch, picture, sx, sy, cw, ch, key);
            TransparentBlt(generic, dx, dy, cw, ch, doubled, 2 * sx, 2 * sy, 2 * cw, 2 * ch, key);
        } else {
            BitBlt(fast, dx, dy, cw, ch, picture, sx, sy, SRCCOPY);
            StretchBlt(generic, dx, dy, cw, ch, doubled, 2 * sx, 2 * sy, 2 * cw, 2 * ch, SRCCOPY);
        }
        for (int y = 0; y < dh; ++y) {
            for (int x = 0; x < dw; ++x) {
                ASSERT_EQ(fastBits.Get(x, y), genericBits.Get(x, y))
                    << x << "," << y << " of " << dw << "x" << dh << " from " << sx << "," << sy
                    << " of " << w << "x" << h << " size " << cw << "x" << ch << " at " << dx << ","
                    << dy;
            }
        }
    }
};

TEST_P(WholeRowCopy, MatchesPerPixelPath) {
    for (int n = 0; n < 200; ++n) {
        ASSERT_NO_FATAL_FAILURE(Compare(false, 0x00FF0000));
    }
    // The avatars' blue, one a 5-5-5 pixel cannot reach, one with a high byte set,
    // and reachable keys at random.
    for (COLORREF key : {COLORREF{0x00FF0000}, COLORREF{0x00FE0000}, COLORREF{0x01FF0000}}) {
        for (int n = 0; n < 150; ++n) {
            ASSERT_NO_FATAL_FAILURE(Compare(true, key));
        }
    }
    for (int n = 0; n < 200; ++n) {
        ASSERT_NO_FATAL_FAILURE(
            Compare(true, gditest::Color555(static_cast<uint32_t>(Between(0, 0x7FFF)))));
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
