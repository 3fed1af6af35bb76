// The keyed copy built from a monochrome mask and raster operations, for systems
// without a transparent-blit service: pure blue pixels of the source leave the
// destination unchanged.
#pragma once

#include "platform/win32.h"

namespace lsp {

// The source region (xSrc, ySrc, cxSrc, cySrc) of hdcSrc to (x, y, cx, cy) of
// hdcDest, stretched when the sizes differ. Sets hdcSrc's background colour to
// pure blue and leaves it so. Nothing happens when cxSrc or cySrc is not positive.
void KeyedCopyByMask(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc,
                     int cxSrc, int cySrc);

}  // namespace lsp
