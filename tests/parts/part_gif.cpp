#include "part_gif.h"

#include "support/gif_builder.h"

namespace parts_test {

std::string MakePartGif(int width, int height, int frames, int delay) {
    kvtest::GifBuilder gif(width, height);
    gif.GlobalTable({{0, 0, 255}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}});
    kvtest::GifBytes indices(static_cast<size_t>(width) * height);
    for (int frame = 0; frame < frames; ++frame) {
        // The left column keeps the key colour so that sprites have runs to skip.
        for (size_t i = 0; i < indices.size(); ++i) {
            indices[i] = static_cast<uint8_t>(i % width == 0 ? 0 : 1 + frame % 3);
        }
        gif.GraphicControl(0, delay).Image(0, 0, width, height, indices, 2);
    }
    gif.Trailer();
    return std::string(gif.Data().begin(), gif.Data().end());
}

}  // namespace parts_test
