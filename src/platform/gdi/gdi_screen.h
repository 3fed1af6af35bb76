// The display: its depth (which compatible bitmaps and window canvases take) and
// the screen canvas that GetDC(NULL) draws on.
#pragma once

#include <memory>

#include "platform/gdi/gdi_surface.h"

namespace kvgdi {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

int ScreenDepth();
PixelFormat ScreenFormat();

// The screen canvas at the current depth; a depth change starts a fresh (black) one.
std::shared_ptr<Surface> ScreenCanvas();

}  // namespace kvgdi
