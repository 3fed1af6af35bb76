// Helpers for the GDI tests: DCs with known contents and pixel read-back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
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
    HBITMAP Bitmap() const { return m_bitmap; }

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

// A top-down 16-bit DIB section whose pixel (x, y) is pixel(x, y).
template <typename Fn>
HBITMAP Dib16(int width, int height, Fn&& pixel) {
    const BITMAPINFO info = DibInfo(width, -height, 16);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(bitmap, nullptr);
    const size_t stride = (static_cast<size_t>(width) * 2 + 3) & ~size_t{3};
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(bits) + y * stride);
        for (int x = 0; x < width; ++x) {
            row[x] = static_cast<uint16_t>(pixel(x, y));
        }
    }
    return bitmap;
}

// A 32-bit screen-compatible bitmap filled with one colour.
inline HBITMAP Filled32(int width, int height, COLORREF color) {
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

// Expands a 5-5-5 pixel to the COLORREF it reads as.
inline COLORREF Color555(uint32_t v) {
    auto expand = [](uint32_t c) { return (c << 3) | (c >> 2); };
    return RGB(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
}

}  // namespace gditest
