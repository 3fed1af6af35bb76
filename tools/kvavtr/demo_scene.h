// Runs the demo's avatars on one message-only window: paints them all into the
// window's DC about ten times a second, records every frame into the animation,
// and reports progress while the downloads arrive.
#pragma once

#include <string>
#include <vector>

#include "demo_cell.h"

namespace kvcli {

struct SceneResult {
    int frames = 0;
    int drawn = 0;  // cells whose area shows something at the end
    int ready = 0;
    int downloadsDone = 0;
    int downloadsRequested = 0;
    int loadMessages = 0;   // message 1060 with wParam 1
    int frameMessages = 0;  // message 1060 with wParam 0
    double meanDrawMs = 0;
    double worstDrawMs = 0;
    std::vector<bool> cellDrawn;
};

// Writes dir/demo.png, dir/demo.gif and dir/index.html. False with the reason in
// error when a file cannot be written or the window cannot be made.
bool RunScene(std::vector<DemoCell>& cells, double seconds, const std::string& dir,
              SceneResult& result, std::string& error);

}  // namespace kvcli
