// The anchors of the composition benchmarks: whole 16-bit frames of kPixels pixels
// copied over a surface, leaving the destination where the source holds the key.
#pragma once

#include <cstdint>

namespace kvbench {

// One compare and branch per pixel, kept scalar.
void ScalarKeyedCopy(uint16_t* to, const uint16_t* from);

// Branch-free select that the compiler vectorises.
void VectorKeyedCopy(uint16_t* __restrict to, const uint16_t* __restrict from);

}  // namespace kvbench
