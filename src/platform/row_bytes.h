// The one row-size rule of every pixel store in the library: bitmaps, DIB sections,
// image surfaces and compositor surfaces. Plain arithmetic, so it serves the
// Windows build as well.
#pragma once

#include <cstdint>

namespace kvrow {

// Bytes of a row of `width` pixels of `bitsPerPixel` bits, padded to a multiple of
// `alignment` bytes: 4 for device-independent bitmaps, 2 for monochrome bitmaps that
// callers hand over, 1 for the bytes that hold pixels. 64 bits so that any int
// width and depth fit.
constexpr int64_t RowBytes(int64_t width, int64_t bitsPerPixel, int64_t alignment = 4) {
    return ((width * bitsPerPixel + 7) / 8 + alignment - 1) / alignment * alignment;
}

}  // namespace kvrow
