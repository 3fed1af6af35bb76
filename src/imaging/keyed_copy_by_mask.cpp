#include "imaging/keyed_copy_by_mask.h"

#include "imaging/memory_dc.h"
#include "imaging/pixel.h"

namespace lsp {

void KeyedCopyByMask(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc,
                     int cxSrc, int cySrc) {
    // Raster operation D AND NOT S: where the mask is white (blue pixels) the
    // destination turns black.
    constexpr DWORD kAndNotSource = 0x00220326u;
    if (cxSrc <= 0 || cySrc <= 0) {
        return;
    }
    SetBkColor(hdcSrc, static_cast<COLORREF>(kvpixel::kKeyColor));

    // Blue pixels become 1, every other pixel 0.
    const ScratchCanvas mask(hdcDest, CreateBitmap(cxSrc, cySrc, 1, 1, nullptr));
    StretchBlt(mask.dc(), 0, 0, cxSrc, cySrc, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);

    // The source with its blue pixels turned black.
    const ScratchCanvas maskedSource(hdcDest, CreateCompatibleBitmap(hdcDest, cxSrc, cySrc));
    StretchBlt(maskedSource.dc(), 0, 0, cxSrc, cySrc, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    StretchBlt(maskedSource.dc(), 0, 0, cxSrc, cySrc, mask.dc(), 0, 0, cxSrc, cySrc, kAndNotSource);

    // The destination kept under blue, the source everywhere else.
    const ScratchCanvas work(hdcDest, CreateCompatibleBitmap(hdcDest, cxSrc, cySrc));
    StretchBlt(work.dc(), 0, 0, cxSrc, cySrc, hdcDest, x, y, cx, cy, SRCCOPY);
    StretchBlt(work.dc(), 0, 0, cxSrc, cySrc, mask.dc(), 0, 0, cxSrc, cySrc, SRCAND);
    StretchBlt(work.dc(), 0, 0, cxSrc, cySrc, maskedSource.dc(), 0, 0, cxSrc, cySrc, SRCPAINT);

    StretchBlt(hdcDest, x, y, cx, cy, work.dc(), 0, 0, cxSrc, cySrc, SRCCOPY);
}

}  // namespace lsp
