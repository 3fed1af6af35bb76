// One legacy art folder per test process (the sheets load once per process): the
// current folder and the portal home, with sub-sheets for MA1, seven male hair
// colours in the settings, two female ones, and no settings section for FRHAT.
#pragma once

#include <cstdint>
#include <string>

#include "legacy/kv_avtr.h"
#include "support/dc_canvas.h"

namespace legacy_test {

// Sets the folder up, enters it and loads the sheets, once; the result of that load.
int LoadLegacyArt();

uint16_t ImagePixel(CKvAImage& image, int x, int y);
// The name of the layer and frame that each of the 11 bands shows at row 10.
std::string Bands(CKvAImage& image);

using Canvas = kvtest::DcCanvas;

}  // namespace legacy_test
