// A memory DC at the screen depth, filled white, for drawing tests and captures.
#pragma once

#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

namespace kvtest {

class WhiteCanvas {
public:
    WhiteCanvas(int width, int height, COLORREF fill = 0x00FFFFFF) {
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_dc, m_bitmap);
        const RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    WhiteCanvas(const WhiteCanvas&) = delete;
    WhiteCanvas& operator=(const WhiteCanvas&) = delete;
    ~WhiteCanvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    operator HDC() const { return m_dc; }
    // What the canvas shows, rows top first.
    std::vector<COLORREF> Pixels() const {
        int width = 0;
        int height = 0;
        std::vector<COLORREF> pixels;
        kvplatform::ReadDcPixels(m_dc, width, height, pixels);
        return pixels;
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

}  // namespace kvtest
