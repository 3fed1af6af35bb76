// A memory DC with a bitmap of its own selected and the mapping mode of the DC it
// is made like; both released on scope exit. For masked copies built from blits.
#pragma once

#include "platform/win32.h"

class ScratchCanvas {
public:
    ScratchCanvas(HDC like, HBITMAP bitmap) : m_hdc(CreateCompatibleDC(like)), m_bitmap(bitmap) {
        SetMapMode(m_hdc, GetMapMode(like));
        m_old = SelectObject(m_hdc, m_bitmap);
    }
    ScratchCanvas(const ScratchCanvas&) = delete;
    ScratchCanvas& operator=(const ScratchCanvas&) = delete;
    ~ScratchCanvas() {
        SelectObject(m_hdc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_hdc);
    }
    HDC dc() const { return m_hdc; }

private:
    HDC m_hdc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
