// The blitting calls: each resolves its DCs and hands the rectangles to the engine.
#include <algorithm>
#include <climits>
#include <mutex>

#include "platform/gdi/gdi_blit.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/gdi_rop.h"
#include "platform/gdi/win32_gdi.h"

using kvgdi::BlitOperation;
using kvgdi::BlitRect;
using kvgdi::BlitSource;
using kvgdi::BlitTarget;
using kvgdi::DcView;

namespace {

constexpr DWORD kPatCopy = 0x00F00021u;

BlitTarget TargetOf(const DcView& view) {
    return BlitTarget{view.surface.get(), view.textColor, view.bkColor, view.brushColor};
}

// A DC-to-DC blit; the source DC may be absent when the operation does not read it.
BOOL BlitBetweenDcs(HDC hdcDest, const BlitRect& to, HDC hdcSrc, const BlitRect& from,
                    const BlitOperation& operation) {
    const auto target = kvgdi::ViewDc(hdcDest);
    if (!target) {
        return FALSE;
    }
    std::optional<DcView> source;
    if (operation.transparent || kvgdi::RopUsesSource(operation.rop)) {
        source = kvgdi::ViewDc(hdcSrc);
        if (!source) {
            return FALSE;
        }
    }
    const BlitSource src{source ? source->surface.get() : nullptr, source ? source->bkColor : 0};
    return kvgdi::Blit(TargetOf(*target), to, src, from, operation) ? TRUE : FALSE;
}

bool DibFormat(const BITMAPINFOHEADER& header, kvgdi::PixelFormat& format) {
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == INT32_MIN) {
        return false;
    }
    switch (header.biBitCount) {
        case 16:
            format = kvgdi::PixelFormat::Rgb555;
            return true;
        case 24:
            format = kvgdi::PixelFormat::Rgb888;
            return true;
        case 32:
            format = kvgdi::PixelFormat::Xrgb8888;
            return true;
        default:
            return false;
    }
}

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    return BlitBetweenDcs(hdc, {x, y, cx, cy}, hdcSrc, {x1, y1, cx, cy}, {rop});
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                int ySrc, int wSrc, int hSrc, DWORD rop) {
    return BlitBetweenDcs(hdcDest, {xDest, yDest, wDest, hDest}, hdcSrc, {xSrc, ySrc, wSrc, hSrc},
                          {rop});
}

// Mirroring is not supported, as on Windows: negative sizes fail.
BOOL TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                    int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) {
    if (wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0) {
        return FALSE;
    }
    BlitOperation operation;
    operation.transparent = true;
    operation.key = crTransparent;
    return BlitBetweenDcs(hdcDest, {xoriginDest, yoriginDest, wDest, hDest}, hdcSrc,
                          {xoriginSrc, yoriginSrc, wSrc, hSrc}, operation);
}

// For a bottom-up DIB ySrc counts from the bottom row, as on Windows. Colour to
// monochrome compares with the destination DC's background (there is no source DC).
// Returns the number of source rows, 0 on failure.
int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                  int SrcWidth, int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi,
                  UINT /*iUsage*/, DWORD rop) {
    kvgdi::PixelFormat format;
    if (lpbmi == nullptr || !DibFormat(lpbmi->bmiHeader, format)) {
        return 0;
    }
    const auto target = kvgdi::ViewDc(hdc);
    if (!target) {
        return 0;
    }
    const BITMAPINFOHEADER& header = lpbmi->bmiHeader;
    const bool bottomUp = header.biHeight > 0;
    const int height = bottomUp ? header.biHeight : -header.biHeight;
    std::shared_ptr<kvgdi::Surface> bits;
    if (kvgdi::RopUsesSource(rop)) {
        bits = kvgdi::ViewSurface(lpBits, header.biWidth, height, format, bottomUp);
        if (!bits) {
            return 0;
        }
    }
    const int top = bottomUp ? ClampToInt(int64_t{height} - ySrc - SrcHeight) : ySrc;
    const BlitSource source{bits.get(), target->bkColor};
    if (!kvgdi::Blit(TargetOf(*target), {xDest, yDest, DestWidth, DestHeight}, source,
                     {xSrc, top, SrcWidth, SrcHeight}, {rop})) {
        return 0;
    }
    return ClampToInt(SrcHeight < 0 ? -int64_t{SrcHeight} : int64_t{SrcHeight});
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    if (lprc == nullptr) {
        return 0;
    }
    auto target = kvgdi::ViewDc(hDC);
    if (!target) {
        return 0;
    }
    {
        kvgdi::GdiTable& table = kvgdi::Table();
        std::lock_guard lock(table.mutex);
        const kvgdi::Brush* brush = table.FindBrush(kvgdi::HandleValue(hbr));
        if (brush == nullptr) {
            return 0;
        }
        target->brushColor = brush->color;
    }
    // Clipped here, in 64 bits, so right - left cannot overflow.
    const int64_t left = std::max<int64_t>(lprc->left, 0);
    const int64_t top = std::max<int64_t>(lprc->top, 0);
    const int64_t right = std::min<int64_t>(lprc->right, target->surface->width);
    const int64_t bottom = std::min<int64_t>(lprc->bottom, target->surface->height);
    if (left < right && top < bottom) {
        const BlitRect area{static_cast<int>(left), static_cast<int>(top),
                            static_cast<int>(right - left), static_cast<int>(bottom - top)};
        kvgdi::Blit(TargetOf(*target), area, BlitSource{}, BlitRect{}, {kPatCopy});
    }
    return 1;
}
