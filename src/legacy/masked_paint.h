// The legacy avatars' transparent paint: a monochrome mask of the pure blue pixels,
// a sprite with those pixels blackened, and one off-screen composition over a copy
// of the target, so that the target is read once and written once.
#pragma once

#include "platform/win32.h"

// Paints the w x h picture selected into `picture` at (x, y) of target. Selected
// pictures lose the bits 0x50 of their red and green values.
void MaskedPaint(HDC target, int x, int y, int w, int h, HDC picture, bool selected);

// A memory DC like `like` (same mapping mode) with a bitmap of its own selected;
// both are released with it.
class ScratchDc {
public:
    ScratchDc(HDC like, HBITMAP bitmap);
    // A w x h bitmap compatible with `like`.
    ScratchDc(HDC like, int w, int h);
    ScratchDc(const ScratchDc&) = delete;
    ScratchDc& operator=(const ScratchDc&) = delete;
    ~ScratchDc();

    HDC dc() const { return m_hdc; }

private:
    HDC m_hdc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
