// DIR/index.html of the demo: the animation, then every avatar cut from the last
// frame with its identifier, kind and options, and where it lies in the picture.
#pragma once

#include <string>
#include <vector>

#include "demo_cell.h"

namespace kvcli {

bool WriteDemoPage(const std::string& path, const std::vector<DemoCell>& cells, SIZE size,
                   std::string& error);

}  // namespace kvcli
