#include "canvas_dc.h"

namespace kvcli {

CanvasDc::CanvasDc(int width, int height, unsigned long colour)
    : m_brush(CreateSolidBrush(static_cast<COLORREF>(colour))), m_whole{0, 0, width, height} {
    HDC screen = GetDC(nullptr);
    m_hdc = CreateCompatibleDC(screen);
    m_bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    m_old = SelectObject(m_hdc, m_bitmap);
    Clear();
}

CanvasDc::~CanvasDc() {
    DeleteObject(m_brush);
    SelectObject(m_hdc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_hdc);
}

void CanvasDc::Clear() {
    FillRect(m_hdc, &m_whole, m_brush);
}

}  // namespace kvcli
