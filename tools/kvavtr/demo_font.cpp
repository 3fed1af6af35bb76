#include "demo_font.h"

#include <cctype>
#include <cstring>

namespace kvcli {
namespace {

// Five rows of three pixels each, top row first.
struct Glyph {
    char c;
    const char* bits;
};

constexpr Glyph kGlyphs[] = {
    {'A', "010101111101101"}, {'B', "110101110101110"}, {'C', "011100100100011"},
    {'D', "110101101101110"}, {'E', "111100110100111"}, {'F', "111100110100100"},
    {'G', "011100101101011"}, {'H', "101101111101101"}, {'I', "111010010010111"},
    {'J', "001001001101010"}, {'K', "101101110101101"}, {'L', "100100100100111"},
    {'M', "101111111101101"}, {'N', "110101101101101"}, {'O', "010101101101010"},
    {'P', "110101110100100"}, {'Q', "010101101110011"}, {'R', "110101110101101"},
    {'S', "011100010001110"}, {'T', "111010010010010"}, {'U', "101101101101111"},
    {'V', "101101101101010"}, {'W', "101101111111101"}, {'X', "101101010101101"},
    {'Y', "101101010010010"}, {'Z', "111001010100111"}, {'0', "111101101101111"},
    {'1', "010110010010111"}, {'2', "110001010100111"}, {'3', "110001010001110"},
    {'4', "101101111001001"}, {'5', "111100110001110"}, {'6', "011100111101111"},
    {'7', "111001010010010"}, {'8', "111101111101111"}, {'9', "111101111001110"},
    {' ', "000000000000000"}, {'_', "000000000000111"}, {'.', "000000000000010"},
    {',', "000000000010100"}, {':', "000010000010000"}, {'-', "000000111000000"},
    {'(', "010100100100010"}, {')', "010001001001010"}, {'/', "001001010100100"},
    {'=', "000111000111000"}, {'+', "000010111010000"}, {'?', "110001010000010"},
    {'%', "101001010100101"}, {'#', "101111101111101"}, {'\'', "010010000000000"},
};
constexpr const char* kMissing = "111101101101111";

const char* BitsOf(char c) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.c == upper) {
            return glyph.bits;
        }
    }
    return kMissing;
}

}  // namespace

void DrawText(PixelRows rows, int x, int y, const std::string& text, uint32_t colour) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char* bits = BitsOf(text[i]);
        for (int k = 0; k < 15; ++k) {
            const int px = x + static_cast<int>(i) * kGlyphAdvance + k % 3;
            const int py = y + k / 3;
            if (bits[k] == '1' && px >= 0 && py >= 0 && px < rows.width && py < rows.height) {
                rows.pixels[static_cast<size_t>(py) * rows.width + px] = colour;
            }
        }
    }
}

std::string WrapText(const std::string& text, size_t maxChars) {
    std::string out;
    size_t start = 0;
    while (text.size() - start > maxChars) {
        size_t cut = text.find_last_of("_ ", start + maxChars - 1);
        cut = cut == std::string::npos || cut < start ? start + maxChars : cut + 1;
        const size_t end = text[cut - 1] == ' ' ? cut - 1 : cut;
        out += text.substr(start, end - start) + "\n";
        start = cut;
    }
    return out + text.substr(start);
}

}  // namespace kvcli
