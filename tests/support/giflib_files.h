// giflib as an independent writer and reader of GIF files, for cross-checks and
// for the benchmarks' reference decoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/gif_builder.h"

namespace kvtest {

struct GiflibFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    GifBytes indices;  // width * height, rows top first
    int delay = 0;
    int disposal = 0;
    int transparentIndex = -1;
    bool interlaced = false;
};

// Writes an animated GIF with one global palette through giflib; loop >= 0 adds
// the loop extension.
bool WriteGiflibGif(const std::string& path, int screenWidth, int screenHeight,
                    const std::vector<Rgb>& palette, const std::vector<GiflibFrame>& frames,
                    int loop = -1);

// The first image as giflib's DGifSlurp decodes it, in colours: width * height
// entries. False when giflib cannot read the bytes.
struct GiflibImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
};
bool GiflibFirstImage(const GifBytes& bytes, GiflibImage& image);

// Decodes every image with DGifSlurp from memory; the number of images, or -1.
int GiflibSlurpCount(const GifBytes& bytes);

GifBytes ReadFileBytes(const std::string& path);

}  // namespace kvtest
