// Every fast row path against the per-pixel path, over seeded rows of every length up to a
// few vector widths at odd offsets, pixels mostly the key or one bit from it.
#include "platform/gdi/gdi_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

TEST(RowPaths, EachMatchesThePerPixelPath) {
    for (const kvgdi::RowPath& path : kvgdi::RowPaths()) {
        std::mt19937 rng(20261206);
        const size_t from = static_cast<size_t>(kvgdi::BitsPerPixel(path.source) / 8);
        const size_t to = static_cast<size_t>(kvgdi::BitsPerPixel(path.dest) / 8);
        for (int n = 0; n < 3000; ++n) {
            const int count = static_cast<int>(rng() % 70);
            const size_t skew = rng() % 4;
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
            ASSERT_EQ(fast, generic) << path.name << " case " << n << " count " << count;
        }
    }
}

}  // namespace
