// The demo's grid: cells in rows under a heading per section, each on a pale
// panel (so that transparency shows) above its caption.
#pragma once

#include <vector>

#include "demo_cell.h"
#include "demo_font.h"

namespace kvcli {

// Sets every cell's position; the size of the whole picture.
SIZE LayOut(std::vector<DemoCell>& cells);

// Page, headings, panels and captions; pixels are 0x00RRGGBB.
void PaintBackdrop(PixelRows rows, const std::vector<DemoCell>& cells);

}  // namespace kvcli
