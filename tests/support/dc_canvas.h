// A memory DC with a bitmap of the screen's depth, filled with one colour, whose
// pixels tests read back.
#pragma once

#include <vector>

#include "platform/win32.h"

namespace kvtest {

class DcCanvas {
public:
    DcCanvas(int width, int height, COLORREF fill);
    DcCanvas(const DcCanvas&) = delete;
    DcCanvas& operator=(const DcCanvas&) = delete;
    ~DcCanvas();

    HDC dc() const { return m_hdc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF Fill() const { return m_fill; }
    std::vector<COLORREF> Pixels() const;
    COLORREF At(int x, int y) const;

private:
    int m_width;
    int m_height;
    COLORREF m_fill;
    HDC m_hdc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

}  // namespace kvtest
