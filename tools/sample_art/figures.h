// The sample figure: each layer of a male or female avatar as animation frames
// on a 100 x 120 canvas, drawn so that the figure box (46 x 102 from column 27,
// row 5) frames it.
#pragma once

#include <vector>

#include "gif_writer.h"

namespace sampleart {

enum class Sex { kMale, kFemale };

std::vector<Frame> HairBack(Sex sex);
std::vector<Frame> LowerClothes(Sex sex);
std::vector<Frame> UpperClothes(Sex sex);
std::vector<Frame> Face(Sex sex);
std::vector<Frame> HairFront(Sex sex);

// All layers' first frames composed back to front, as one whole-avatar picture.
Canvas Composite(Sex sex);

// The composite with every opaque pixel in one grey: the stand-in figure.
Canvas Silhouette(Sex sex);

}  // namespace sampleart
