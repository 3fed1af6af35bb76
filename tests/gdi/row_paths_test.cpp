// Every fast path of the blit engine against the per-pixel path it replaces, in the
// manner of a randomized blit test: seeded rows of every length up to a few vector
// widths, at odd offsets, over pixels that are mostly the key or one bit from it.
#include <cstring>
#include <random>

#include "gdi_test_util.h"
#include "platform/gdi/gdi_rows.h"

namespace {

// One checksum over all cases of a path, so a fault shows as one differing number
// and the first differing case says where.
TEST(RowPaths, EachMatchesThePerPixelPath) {
    for (const kvgdi::RowPath& path : kvgdi::RowPaths()) {
        std::mt19937 rng(20261206);
        const size_t from = static_cast<size_t>(kvgdi::BitsPerPixel(path.source) / 8);
        const size_t to = static_cast<size_t>(kvgdi::BitsPerPixel(path.dest) / 8);
        uint64_t fastSum = 0, genericSum = 0;
        for (int n = 0; n < 3000; ++n) {
            const int count = static_cast<int>(rng() % 70);
            const size_t skew = rng() % 4;  // rows need not start on a word
            // The avatars' blue, keys no pixel reaches, and random colours.
            const COLORREF keys[] = {0x00FF0000, 0x00FE0000, 0x01FF0000,
                                     static_cast<COLORREF>(rng() & 0xFFFFFF)};
            const COLORREF key = keys[rng() % 4];
            std::vector<uint8_t> source(skew + from * static_cast<size_t>(count) + 4);
            for (size_t i = 0; i < source.size(); i += 2) {
                const uint32_t near =
                    (i % 4 ? 0x00FF : 0x001F) ^ (rng() % 3 ? 0 : 1u << rng() % 16);
                const uint32_t v = rng() % 2 ? near : rng();
                std::memcpy(&source[i], &v, std::min<size_t>(2, source.size() - i));
            }
            std::vector<uint8_t> fast(skew + to * static_cast<size_t>(count) + 4);
            for (uint8_t& byte : fast) {
                byte = static_cast<uint8_t>(rng());
            }
            std::vector<uint8_t> generic = fast;
            path.function(fast.data() + skew, source.data() + skew, count, key);
            kvgdi::GenericRow(path.source, path.dest, path.operation, generic.data() + skew,
                              source.data() + skew, count, key);
            for (size_t i = 0; i < fast.size(); ++i) {
                fastSum = fastSum * 1099511628211u + fast[i];
                genericSum = genericSum * 1099511628211u + generic[i];
            }
            ASSERT_EQ(fast, generic) << path.name << " case " << n << " count " << count;
        }
        EXPECT_EQ(fastSum, genericSum) << path.name;
    }
}

// The engine takes the table for unscaled rows: a 1:1 copy and a 2:1 shrink of the
// same picture doubled agree, clipping included.
TEST(RowPaths, EngineUsesThemForUnscaledRowsOnly) {
    const auto pixel = [](int x, int y) { return (x * 7 + y * 13) % 5 ? 0x7C00 + x : 0x001F; };
    for (const bool keyed : {false, true}) {
        gditest::DibBits fastBits, genericBits;
        gditest::MemoryDc picture(gditest::Dib(9, 5, 16, pixel));
        gditest::MemoryDc doubled(
            gditest::Dib(18, 10, 16, [&](int x, int y) { return pixel(x / 2, y / 2); }));
        gditest::MemoryDc fast(gditest::Dib(
            8, 6, 32, [](int x, int) { return x; }, &fastBits));
        gditest::MemoryDc generic(gditest::Dib(
            8, 6, 32, [](int x, int) { return x; }, &genericBits));
        if (keyed) {
            TransparentBlt(fast, -1, 2, 9, 5, picture, 0, 0, 9, 5, 0x00FF0000);
            TransparentBlt(generic, -1, 2, 9, 5, doubled, 0, 0, 18, 10, 0x00FF0000);
        } else {
            BitBlt(fast, -1, 2, 9, 5, picture, 0, 0, SRCCOPY);
            StretchBlt(generic, -1, 2, 9, 5, doubled, 0, 0, 18, 10, SRCCOPY);
        }
        EXPECT_EQ(std::memcmp(fastBits.bits, genericBits.bits, 8 * 6 * 4), 0) << keyed;
    }
}

}  // namespace
