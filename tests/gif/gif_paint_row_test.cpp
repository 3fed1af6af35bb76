// The vectorised row painter against the portable one.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gif/gif_paint_row.h"

namespace {

TEST(GifPaintRow, WideLoopEqualsPortableLoop) {
    if (!kvgif::WidePaintAvailable()) {
        GTEST_SKIP() << "no wide loop on this CPU";
    }
    std::mt19937 random(7);
    kvgif::Palette palette;
    for (uint16_t& pixel : palette) {
        pixel = static_cast<uint16_t>(random());
    }
    struct Case {
        int count, kept, colors;
    };
    // Counts around the 32-pixel step; kept indices at both ends of the palette.
    const Case cases[] = {{0, kvgif::kKeepNone, 256},
                          {1, 0, 2},
                          {31, kvgif::kKeepNone, 256},
                          {32, 255, 256},
                          {33, 7, 16},
                          {100, 0, 4},
                          {257, 200, 256},
                          {1000, 63, 256}};
    for (const Case& c : cases) {
        std::vector<unsigned char> source(static_cast<size_t>(c.count) + 64);
        for (unsigned char& index : source) {
            index = static_cast<unsigned char>(random() % c.colors);
        }
        std::vector<uint16_t> canvas(source.size());
        for (uint16_t& pixel : canvas) {
            pixel = static_cast<uint16_t>(random());
        }
        std::vector<uint16_t> portable = canvas, wide = canvas;
        kvgif::PaintRowPortable(source.data(), portable.data(), c.count, palette, c.kept);
        kvgif::PaintRowWide(source.data(), wide.data(), c.count, palette, c.kept);
        EXPECT_EQ(portable, wide) << c.count << " pixels, kept " << c.kept;
    }
}

}  // namespace
