#include "support/dc_canvas.h"

#include <gtest/gtest.h>

#include "platform/testing.h"

namespace kvtest {

DcCanvas::DcCanvas(int width, int height, COLORREF fill)
    : m_width(width), m_height(height), m_fill(fill), m_hdc(CreateCompatibleDC(nullptr)) {
    HDC screen = GetDC(nullptr);
    m_bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    m_old = SelectObject(m_hdc, m_bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    FillRect(m_hdc, &all, brush);
    DeleteObject(brush);
}

DcCanvas::~DcCanvas() {
    SelectObject(m_hdc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_hdc);
}

std::vector<COLORREF> DcCanvas::Pixels() const {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    EXPECT_TRUE(kvplatform::ReadDcPixels(m_hdc, width, height, pixels));
    pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    return pixels;
}

COLORREF DcCanvas::At(int x, int y) const {
    return Pixels()[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

}  // namespace kvtest
