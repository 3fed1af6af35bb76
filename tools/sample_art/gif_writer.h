// Writes indexed canvases as an animated GIF whose index 0 is transparent.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace sampleart {

struct Frame {
    Canvas canvas;
    int delay;  // hundredths of a second
};

// How often an animation plays: kPlayOnce writes no loop block, 0 loops for ever.
constexpr int kPlayOnce = -1;

// False with a reason in error when the file cannot be written.
bool WriteGif(const std::string& path, const std::vector<Frame>& frames, std::string& error,
              int loops = 0);

}  // namespace sampleart
