// Copies of a surface region into a device context, opaque or with pure blue keyed.
#include "imaging/lsp.h"
#include "imaging/pixel.h"

namespace lsp {
namespace {

// A memory DC compatible with `like` showing `bitmap` for the lifetime of the object.
class SelectedBitmap {
public:
    SelectedBitmap(HDC like, HGDIOBJ bitmap)
        : m_dc(CreateCompatibleDC(like)), m_old(SelectObject(m_dc, bitmap)) {}
    ~SelectedBitmap() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;

    HDC dc() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A bitmap of its own selected into a memory DC in `like`'s mapping mode; both
// released together.
class ScratchCanvas {
public:
    ScratchCanvas(HDC like, HBITMAP bitmap) : m_bitmap{bitmap}, m_selected(like, bitmap) {
        SetMapMode(m_selected.dc(), GetMapMode(like));
    }
    ~ScratchCanvas() = default;
    ScratchCanvas(const ScratchCanvas&) = delete;
    ScratchCanvas& operator=(const ScratchCanvas&) = delete;

    HDC dc() const { return m_selected.dc(); }

private:
    struct BitmapOwner {
        HBITMAP bitmap;
        ~BitmapOwner() { DeleteObject(bitmap); }
    };
    // Declared first so that it is destroyed after the DC has let go of the bitmap.
    BitmapOwner m_bitmap;
    SelectedBitmap m_selected;
};

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
    // Raster operation D AND NOT S: where the mask is white (blue pixels) the
    // destination turns black.
    constexpr DWORD kAndNotSource = 0x00220326u;
    if (cx <= 0 || cy <= 0) {
        return;
    }
    const SelectedBitmap source(hdc, hbm);
    SetBkColor(source.dc(), static_cast<COLORREF>(kvpixel::kKeyColor));

    // Blue pixels become 1, every other pixel 0.
    const ScratchCanvas mask(hdc, CreateBitmap(cx, cy, 1, 1, nullptr));
    StretchBlt(mask.dc(), 0, 0, cx, cy, source.dc(), xSrc, ySrc, cx, cy, SRCCOPY);

    // The source with its blue pixels turned black.
    const ScratchCanvas maskedSource(hdc, CreateCompatibleBitmap(hdc, cx, cy));
    StretchBlt(maskedSource.dc(), 0, 0, cx, cy, source.dc(), xSrc, ySrc, cx, cy, SRCCOPY);
    StretchBlt(maskedSource.dc(), 0, 0, cx, cy, mask.dc(), 0, 0, cx, cy, kAndNotSource);

    // The destination kept under blue, the source everywhere else.
    const ScratchCanvas work(hdc, CreateCompatibleBitmap(hdc, cx, cy));
    StretchBlt(work.dc(), 0, 0, cx, cy, hdc, x, y, cx, cy, SRCCOPY);
    StretchBlt(work.dc(), 0, 0, cx, cy, mask.dc(), 0, 0, cx, cy, SRCAND);
    StretchBlt(work.dc(), 0, 0, cx, cy, maskedSource.dc(), 0, 0, cx, cy, SRCPAINT);

    StretchBlt(hdc, x, y, cx, cy, work.dc(), 0, 0, cx, cy, SRCCOPY);
}

}  // namespace lsp
