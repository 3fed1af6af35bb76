// Creation of bitmaps, DIB sections and brushes.
#include <climits>
#include <cstring>
#include <mutex>

#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/win32_gdi.h"

using kvgdi::GdiTable;
using kvgdi::PixelFormat;
using kvgdi::Table;

namespace {

bool FormatOfDepth(UINT bitsPerPixel, PixelFormat& format) {
    switch (bitsPerPixel) {
        case 1:
            format = PixelFormat::Mono1;
            return true;
        case 16:
            format = PixelFormat::Rgb555;
            return true;
        case 32:
            format = PixelFormat::Xrgb8888;
            return true;
        default:
            return false;
    }
}

HBITMAP AsBitmap(uintptr_t handle) {
    return reinterpret_cast<HBITMAP>(handle);
}

// A zero-sized request gives the shared 1 x 1 monochrome bitmap, as on Windows.
HBITMAP AddBitmapOfSize(GdiTable& table, int width, int height, PixelFormat format) {
    if (width == 0 || height == 0) {
        return AsBitmap(table.stockBitmap);
    }
    auto surface = kvgdi::CreateSurface(width, height, format);
    return surface ? AsBitmap(table.AddBitmap(std::move(surface))) : nullptr;
}

}  // namespace

// Matches the DC's surface: a memory DC still holding its initial bitmap therefore
// gives a monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    const kvgdi::Dc* dc = table.FindDc(hdc);
    if (dc == nullptr || cx < 0 || cy < 0) {
        return nullptr;
    }
    const auto surface = table.SurfaceOf(*dc);
    if (!surface) {
        return nullptr;
    }
    return AddBitmapOfSize(table, cx, cy, surface->format);
}

// lpBits, when given, holds rows top first, each padded to a 2-byte boundary.
HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
    PixelFormat format;
    if (nPlanes != 1 || !FormatOfDepth(nBitCount, format) || nWidth < 0 || nHeight < 0) {
        return nullptr;
    }
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    const HBITMAP handle = AddBitmapOfSize(table, nWidth, nHeight, format);
    if (handle == nullptr || lpBits == nullptr || nWidth == 0 || nHeight == 0) {
        return handle;
    }
    const kvgdi::Surface& surface = *table.FindBitmap(kvgdi::HandleValue(handle))->surface;
    const size_t sourceRowBytes = kvgdi::RowBytes(nWidth, static_cast<int>(nBitCount), 2);
    const auto* source = static_cast<const uint8_t*>(lpBits);
    for (int y = 0; y < nHeight; ++y) {
        std::memcpy(surface.Row(y), source + static_cast<size_t>(y) * sourceRowBytes,
                    kvgdi::RowBytes(nWidth, static_cast<int>(nBitCount), 1));
    }
    return handle;
}

// 16-bit (5-5-5) and 32-bit BI_RGB only; the bits are the bitmap's own store.
HBITMAP CreateDIBSection(HDC /*hdc*/, const BITMAPINFO* pbmi, UINT /*usage*/, void** ppvBits,
                         HANDLE hSection, DWORD /*offset*/) {
    if (ppvBits != nullptr) {
        *ppvBits = nullptr;
    }
    if (pbmi == nullptr || hSection != nullptr) {
        return nullptr;
    }
    const BITMAPINFOHEADER& header = pbmi->bmiHeader;
    PixelFormat format;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biHeight == INT32_MIN || header.biBitCount == 1 ||
        !FormatOfDepth(header.biBitCount, format)) {
        return nullptr;
    }
    const bool bottomUp = header.biHeight > 0;
    const int height = bottomUp ? header.biHeight : -header.biHeight;
    auto surface = kvgdi::CreateSurface(header.biWidth, height, format, bottomUp);
    if (!surface) {
        return nullptr;
    }
    void* bits = surface->storage.get();
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    const HBITMAP handle = AsBitmap(table.AddBitmap(std::move(surface)));
    // A full table keeps no bitmap, and its bits are gone with it.
    if (ppvBits != nullptr && handle != nullptr) {
        *ppvBits = bits;
    }
    return handle;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiTable& table = Table();
    std::lock_guard lock(table.mutex);
    return reinterpret_cast<HBRUSH>(table.AddBrush(color));
}
