// The demo's captions: a built-in 3 x 5 pixel font of capitals, digits and a few
// signs, drawn into 32-bit pixel rows. Lower-case letters draw as capitals;
// characters without a glyph draw as a box.
#pragma once

#include <cstdint>
#include <string>

namespace kvcli {

constexpr int kGlyphAdvance = 4;
constexpr int kLineHeight = 7;

struct PixelRows {
    uint32_t* pixels;  // rows top first
    int width;
    int height;
};

// Pixels outside the rows are skipped.
void DrawText(PixelRows rows, int x, int y, const std::string& text, uint32_t colour);

// Splits text into lines of at most maxChars characters, preferring to break after
// "_" or at a space.
std::string WrapText(const std::string& text, size_t maxChars);

}  // namespace kvcli
