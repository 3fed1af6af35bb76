// Transparent copies for systems without a transparent-blit service.
#include "imaging/keyed_copy_by_mask.h"
#include "imaging/memory_dc.h"
#include "layered/avtr2004.h"

void CAvtr2004::TransBlt(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc,
                         int cxSrc, int cySrc) {
    lsp::KeyedCopyByMask(hdcDest, x, y, cx, cy, hdcSrc, xSrc, ySrc, cxSrc, cySrc);
}

void CAvtr2004::TransDIBits(HDC hdcDest, int x, int y, int cx, int cy, int xSrc, int ySrc,
                            int cxSrc, int cySrc, const void* bits) {
    const lsp::ScratchCanvas source(hdcDest, CreateCompatibleBitmap(hdcDest, cxSrc, cySrc));
    StretchDIBits(source.dc(), 0, 0, cxSrc, cySrc, xSrc, ySrc, cxSrc, cySrc, bits, &m_bmi,
                  DIB_RGB_COLORS, SRCCOPY);
    TransBlt(hdcDest, x, y, cx, cy, source.dc(), 0, 0, cxSrc, cySrc);
}
