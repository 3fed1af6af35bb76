// Transparent copies for systems without a transparent-blit service: pure blue is
// cut out with a monochrome mask and raster operations.
#include "imaging/pixel.h"
#include "imaging/scratch_canvas.h"
#include "layered/avtr2004.h"

namespace {

// Destination AND NOT source: blackens where the mask is white.
constexpr DWORD kMaskOutRop = 0x00220326;

}  // namespace

void CAvtr2004::TransBlt(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc,
                         int cxSrc, int cySrc) {
    ScratchCanvas mask(hdcDest, CreateBitmap(cxSrc, cySrc, 1, 1, nullptr));
    SetBkColor(hdcSrc, kvpixel::kKeyColor);
    StretchBlt(mask.dc(), 0, 0, cxSrc, cySrc, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);

    ScratchCanvas maskedSource(hdcDest, CreateCompatibleBitmap(hdcDest, cxSrc, cySrc));
    StretchBlt(maskedSource.dc(), 0, 0, cxSrc, cySrc, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    StretchBlt(maskedSource.dc(), 0, 0, cxSrc, cySrc, mask.dc(), 0, 0, cxSrc, cySrc, kMaskOutRop);

    ScratchCanvas work(hdcDest, CreateCompatibleBitmap(hdcDest, cxSrc, cySrc));
    StretchBlt(work.dc(), 0, 0, cxSrc, cySrc, hdcDest, x, y, cx, cy, SRCCOPY);
    StretchBlt(work.dc(), 0, 0, cxSrc, cySrc, mask.dc(), 0, 0, cxSrc, cySrc, SRCAND);
    StretchBlt(work.dc(), 0, 0, cxSrc, cySrc, maskedSource.dc(), 0, 0, cxSrc, cySrc, SRCPAINT);

    StretchBlt(hdcDest, x, y, cx, cy, work.dc(), 0, 0, cxSrc, cySrc, SRCCOPY);
}

void CAvtr2004::TransDIBits(HDC hdcDest, int x, int y, int cx, int cy, int xSrc, int ySrc,
                            int cxSrc, int cySrc, const void* bits) {
    ScratchCanvas source(hdcDest, CreateCompatibleBitmap(hdcDest, cxSrc, cySrc));
    StretchDIBits(source.dc(), 0, 0, cxSrc, cySrc, xSrc, ySrc, cxSrc, cySrc, bits, &m_bmi,
                  DIB_RGB_COLORS, SRCCOPY);
    TransBlt(hdcDest, x, y, cx, cy, source.dc(), 0, 0, cxSrc, cySrc);
}
