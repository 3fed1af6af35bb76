// A rectangle of pixels in one format: the store behind bitmaps, DIB sections,
// window canvases and the screen, or a view of a caller's DIB bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gdi/gdi_format.h"

namespace kvgdi {

struct Surface {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Xrgb8888;
    uint8_t* top = nullptr;  // first byte of the top row
    ptrdiff_t pitch = 0;     // bytes from one row to the next one down; negative for bottom-up
    std::unique_ptr<uint8_t[]> storage;  // empty for a view of someone else's bits

    uint8_t* Row(int y) const { return top + y * pitch; }
};

// Bytes of one row, padded to `alignment`; 0 when the row cannot be represented.
size_t RowBytes(int width, int bitsPerPixel, size_t alignment);

// A zero-filled surface with rows aligned to 4 bytes (bottom-up when asked, as a DIB
// whose height is positive); null for an empty size or one over the surface limit.
std::shared_ptr<Surface> CreateSurface(int width, int height, PixelFormat format,
                                       bool bottomUp = false);

// A surface over caller-owned bits with DWORD-aligned rows; null when invalid.
std::shared_ptr<Surface> ViewSurface(const void* bits, int width, int height, PixelFormat format,
                                     bool bottomUp);

}  // namespace kvgdi
