// One legacy art folder per test process (the sheets load once per process): the
// current folder and the portal home, with sub-sheets for MA1 (3 and 1 tiles), seven
// male hair colours asked for, two female ones, and no settings section for FRHAT.
#pragma once

#include <cstdint>
#include <string>

#include "legacy/kv_avtr.h"
#include "support/white_canvas.h"
#include "support/legacy_art.h"

namespace legacy_test {

// Sets the folder up, enters it and loads the sheets, once; the result of that load.
int LoadLegacyArt();

uint16_t ImagePixel(CKvAImage& image, int x, int y);
// What each of the 11 bands shows at row 10, e.g. "MA4:0 MRH:1 ...".
std::string Bands(CKvAImage& image);

}  // namespace legacy_test
