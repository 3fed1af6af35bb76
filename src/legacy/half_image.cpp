// The half-size picture: each 2 x 2 block of the source becomes one pixel.
#include <cstdint>

#include "imaging/pixel.h"
#include "legacy/kv_avtr.h"

namespace {

uint16_t PixelAt(const CKvAImage& image, int x, int y) {
    return reinterpret_cast<const uint16_t*>(image.GetBits(y))[x];
}

// A block of fewer than two opaque pixels stays transparent. The channel sums are
// divided by four whatever the number of opaque pixels, so edges come out darker.
uint16_t BlockPixel(const uint16_t (&block)[4]) {
    int opaque = 0;
    int red = 0;
    int green = 0;
    int blue = 0;
    for (const uint16_t pixel : block) {
        if (pixel == kvpixel::kKeyPixel) {
            continue;
        }
        ++opaque;
        red += (pixel >> 10) & 31;
        green += (pixel >> 5) & 31;
        blue += pixel & 31;
    }
    if (opaque < 2) {
        return kvpixel::kKeyPixel;
    }
    return static_cast<uint16_t>(((red / 4) << 10) | ((green / 4) << 5) | (blue / 4));
}

}  // namespace

void CKvAvtr::MakeHalfImage(int, int, CKvAImage& dst, int, int, CKvAImage& src) {
    for (int sy = 0; sy < src.GetHeight() && sy / 2 < dst.GetHeight(); sy += 2) {
        uint16_t* out = reinterpret_cast<uint16_t*>(dst.GetBits(sy / 2));
        // A missing second row counts as transparent.
        const bool secondRow = sy + 1 < src.GetHeight();
        for (int sx = 0; sx + 1 < src.GetWidth() && sx / 2 < dst.GetWidth(); sx += 2) {
            const uint16_t block[4] = {
                PixelAt(src, sx, sy), PixelAt(src, sx + 1, sy),
                secondRow ? PixelAt(src, sx, sy + 1) : kvpixel::kKeyPixel,
                secondRow ? PixelAt(src, sx + 1, sy + 1) : kvpixel::kKeyPixel};
            out[sx / 2] = BlockPixel(block);
        }
    }
}
