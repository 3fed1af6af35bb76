// A memory DC of the screen's depth, filled with one colour, for commands that
// draw and then write what the DC shows.
#pragma once

#include "platform/win32.h"

namespace kvcli {

class CanvasDc {
public:
    CanvasDc(int width, int height, unsigned long colour);
    CanvasDc(const CanvasDc&) = delete;
    CanvasDc& operator=(const CanvasDc&) = delete;
    ~CanvasDc();

    HDC dc() const { return m_hdc; }
    // Fills the whole DC with the colour again.
    void Clear();

private:
    HDC m_hdc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    HBRUSH m_brush;
    RECT m_whole;
};

}  // namespace kvcli
