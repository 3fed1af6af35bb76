// The one blit engine behind BitBlt, StretchBlt, StretchDIBits, TransparentBlt and
// FillRect: nearest-neighbour mapping of destination pixels to source pixels,
// clipped to both surfaces, source pixels converted to the destination format, then
// combined by a raster operation or dropped when they equal a transparent key.
#pragma once

#include "platform/gdi/gdi_surface.h"
#include "platform/win32_types.h"

namespace kvgdi {

// A rectangle as the caller gave it: a negative size extends left of or above the
// origin (x + w .. x - 1) and, when only one of source and destination has it,
// mirrors the picture.
struct BlitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct BlitTarget {
    Surface* surface = nullptr;
    COLORREF textColor = 0;     // monochrome 0 becomes this
    COLORREF bkColor = 0;       // monochrome 1 becomes this
    COLORREF patternColor = 0;  // P of the raster operation
};

struct BlitSource {
    const Surface* surface = nullptr;  // may be null when the operation ignores the source
    COLORREF bkColor = 0;              // colour pixels equal to it become monochrome 1
};

struct BlitOperation {
    DWORD rop = 0;
    bool transparent = false;  // instead of the raster operation: copy all but the key colour
    COLORREF key = 0;
};

// False only when the source is needed but missing.
bool Blit(const BlitTarget& target, const BlitRect& to, const BlitSource& source,
          const BlitRect& from, const BlitOperation& operation);

}  // namespace kvgdi
