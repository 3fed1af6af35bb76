// The legacy avatars' transparent paint: a monochrome mask of the pure blue pixels,
// a sprite with those pixels blackened, and one off-screen composition over a copy
// of the target, so that the target is read once and written once.
#pragma once

#include "imaging/memory_dc.h"
#include "platform/win32.h"

using lsp::ScratchCanvas;

// Paints the w x h picture selected into `picture` at (x, y) of target. Selected
// pictures lose the bits 0x50 of their red and green values.
void MaskedPaint(HDC target, int x, int y, int w, int h, HDC picture, bool selected);

// A memory DC like `like` holding a w x h bitmap compatible with it.
ScratchCanvas CompatibleCanvas(HDC like, int w, int h);
