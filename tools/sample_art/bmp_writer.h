// Writes a canvas as an uncompressed bottom-up 8-bit Windows bitmap file whose
// colour table is the sample palette, so index 0 stays pure blue.
#pragma once

#include <string>

#include "canvas.h"

namespace sampleart {

bool WriteBitmap(const std::string& path, const Canvas& picture);

}  // namespace sampleart
