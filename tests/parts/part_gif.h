// Small GIF files for part tests.
#pragma once

#include <string>

namespace parts_test {

// A width x height GIF of `frames` frames, each with the given delay (1/100 s)
// and a different solid colour.
std::string MakePartGif(int width, int height, int frames, int delay);

}  // namespace parts_test
