// Reads PNG files that the program writes, for checks pixel by pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

struct PngPicture {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<uint8_t> rgba;  // width * height * 4, rows top first

    // 0xRRGGBBAA of one pixel.
    uint32_t At(unsigned x, unsigned y) const;
};

// An empty picture (width 0) when the file is missing or not a PNG.
PngPicture ReadPng(const std::string& path);

}  // namespace kvtest
