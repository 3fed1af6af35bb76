// Whole-row conversions for blits that read a source row left to right unscaled:
// one call per row and no per-pixel branches, so the compiler vectorises them.
// Each gives exactly what the engine's per-pixel conversion gives. `to` and `from`
// never overlap (the engine copies a source that shares the destination's memory).
#pragma once

#include <cstdint>

namespace kvgdi {

// A keyPixel for CopyUnkeyedRow555To8888 that no 5-5-5 pixel matches.
constexpr uint32_t kNoKeyPixel555 = 0x8000;

// Rgb555 pixels to Xrgb8888 words 0x00RRGGBB, each channel widened as
// (v << 3) | (v >> 2); bit 15 of the source is ignored.
void CopyRow555To8888(uint8_t* to, const uint8_t* from, int count);

// As CopyRow555To8888, except that source pixels whose low 15 bits equal keyPixel
// leave the destination as it was.
void CopyUnkeyedRow555To8888(uint8_t* to, const uint8_t* from, int count, uint32_t keyPixel);

}  // namespace kvgdi
