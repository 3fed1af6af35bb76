// Helpers for the GDI tests: DCs with known contents and pixel read-back.
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

// A memory DC with its own bitmap selected; releases both.
class MemoryDc {
public:
    explicit MemoryDc(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(bitmap) {
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~MemoryDc() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

inline BITMAPINFO DibInfo(int width, int height, int bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The live bits of a top-down 16- or 32-bit DIB section, rows DWORD-aligned.
struct DibBits {
    uint8_t* bits = nullptr;
    size_t stride = 0;
    size_t bytes = 0;
    uint8_t* At(int x, int y) const { return bits + y * stride + x * bytes; }
    uint32_t Get(int x, int y) const {
        uint32_t v = 0;
        std::memcpy(&v, At(x, y), bytes);
        return v;
    }
};

// A top-down DIB section whose pixel (x, y) holds the raw value pixel(x, y).
template <typename Fn>
HBITMAP Dib(int width, int height, int bitsPerPixel, Fn&& pixel, DibBits* live = nullptr) {
    const BITMAPINFO info = DibInfo(width, -height, bitsPerPixel);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(bitmap, nullptr);
    const size_t bytes = static_cast<size_t>(bitsPerPixel / 8);
    const DibBits d{static_cast<uint8_t*>(bits),
                    (static_cast<size_t>(width) * bytes + 3) & ~size_t{3}, bytes};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t v = static_cast<uint32_t>(pixel(x, y));
            std::memcpy(d.At(x, y), &v, bytes);
        }
    }
    if (live != nullptr) {
        *live = d;
    }
    return bitmap;
}

// A screen-compatible bitmap filled with one colour.
inline HBITMAP Filled(int width, int height, COLORREF color) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(color);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

// The raw pixels a colour becomes at 16 and 32 bits.
inline uint32_t To555(COLORREF c) {
    return ((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3);
}
inline uint32_t ToXrgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The screen depth for a scope; 32 bits again afterwards, also when a test fails.
class ScreenDepth {
public:
    explicit ScreenDepth(int depth) { kvplatform::SetScreenDepth(depth); }
    ~ScreenDepth() { kvplatform::SetScreenDepth(32); }
    ScreenDepth(const ScreenDepth&) = delete;
    ScreenDepth& operator=(const ScreenDepth&) = delete;
};

// Expands a 5-5-5 pixel to the COLORREF it reads as.
inline COLORREF Color555(uint32_t v) {
    auto expand = [](uint32_t c) { return (c << 3) | (c >> 2); };
    return RGB(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
}

}  // namespace gditest
