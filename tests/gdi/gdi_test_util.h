// DCs with known contents and pixel read-back for the GDI tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

namespace gditest {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colors;
    COLORREF At(int x, int y) const { return colors[static_cast<size_t>(y * width + x)]; }
};

inline Pixels Read(HDC hdc) {
    Pixels p;
    EXPECT_TRUE(kvplatform::ReadDcPixels(hdc, p.width, p.height, p.colors));
    return p;
}

// A memory DC owning the bitmap selected into it.
struct MemoryDc {
    explicit MemoryDc(HBITMAP b) : dc(CreateCompatibleDC(nullptr)), bitmap(b) {
        previous = SelectObject(dc, bitmap);
    }
    ~MemoryDc() { SelectObject(dc, previous), DeleteObject(bitmap), DeleteDC(dc); }
    MemoryDc(const MemoryDc&) = delete;
    operator HDC() const { return dc; }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

inline BITMAPINFO DibInfo(int width, int height, int bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);  // value-initialised: BI_RGB
    return info;
}

// A top-down DIB section whose pixel (x, y) holds the raw value pixel(x, y).
template <typename Fn>
HBITMAP Dib(int width, int height, int bitsPerPixel, Fn&& pixel, void** live = nullptr) {
    const BITMAPINFO info = DibInfo(width, -height, bitsPerPixel);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(bitmap, nullptr);
    const int bytes = bitsPerPixel / 8, stride = (width * bytes + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t v = static_cast<uint32_t>(pixel(x, y));
            std::memcpy(static_cast<uint8_t*>(bits) + y * stride + x * bytes, &v, bytes);
        }
    }
    if (live != nullptr) {
        *live = bits;
    }
    return bitmap;
}

inline uint32_t To555(COLORREF c) {
    return ((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3);
}
inline uint32_t ToXrgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}
inline COLORREF Color555(uint32_t v) {
    auto expand = [](uint32_t c) { return (c << 3) | (c >> 2); };
    return RGB(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
}

inline HBITMAP Filled(int width, int height, COLORREF color, int bitsPerPixel = 32) {
    const uint32_t v = bitsPerPixel == 16 ? To555(color) : ToXrgb(color);
    return Dib(width, height, bitsPerPixel, [v](int, int) { return v; });
}

}  // namespace gditest
