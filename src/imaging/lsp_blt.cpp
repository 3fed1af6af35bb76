// Copies of a surface region into a device context, opaque or with pure blue keyed.
#include "imaging/keyed_copy_by_mask.h"
#include "imaging/lsp.h"
#include "imaging/memory_dc.h"
#include "imaging/pixel.h"

namespace lsp {
namespace {

bool HasPixels(const CLspDib* surface) {
    return surface != nullptr && surface->m_hBitmap != nullptr && surface->m_pBits != nullptr;
}

}  // namespace

void BltLsp(HDC hdc, int x, int y, int xSrc, int ySrc, int cx, int cy, CLspDib* surface) {
    if (!HasPixels(surface)) {
        return;
    }
    surface->Update();
    const SelectedBitmap source(hdc, surface->m_hBitmap);
    StretchBlt(hdc, x, y, cx, cy, source.dc(), xSrc, ySrc, cx, cy, SRCCOPY);
}

void TransBltLsp(HDC hdc, int x, int y, int xSrc, int ySrc, int cx, int cy, CLspDib* surface) {
    if (!HasPixels(surface)) {
        return;
    }
    surface->Update();
    if (g_nLegacyGdi != 0) {
        TransBltByMask(hdc, x, y, cx, cy, surface->m_hBitmap, xSrc, ySrc);
        return;
    }
    const SelectedBitmap source(hdc, surface->m_hBitmap);
    TransparentBlt(hdc, x, y, cx, cy, source.dc(), xSrc, ySrc, cx, cy,
                   static_cast<UINT>(kvpixel::kKeyColor));
}

void TransBltByMask(HDC hdc, int x, int y, int cx, int cy, HBITMAP hbm, int xSrc, int ySrc) {
    const SelectedBitmap source(hdc, hbm);
    KeyedCopyByMask(hdc, x, y, cx, cy, source.dc(), xSrc, ySrc, cx, cy);
}

}  // namespace lsp
