// An indexed-colour drawing surface for the sample art.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sampleart {

// Palette indices; index 0 is pure blue, the transparent key.
enum Colour : uint8_t {
    kKey = 0,
    kSkin,
    kSkinShade,
    kOutline,
    kWhite,
    kEyeDark,
    kMouth,
    kHairMale,
    kHairFemale,
    kShirtMale,
    kShirtFemale,
    kTrousers,
    kSkirt,
    kShoes,
    kCheek,
    kSilhouette,
    kColourCount
};

struct Rgb {
    uint8_t r, g, b;
};
extern const Rgb kPalette[kColourCount];

class Canvas {
public:
    Canvas(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::vector<uint8_t>& pixels() const { return m_pixels; }

    void Rect(int left, int top, int right, int bottom, uint8_t colour);
    // Axis-aligned ellipse inside the box [left, right) x [top, bottom).
    void Ellipse(int left, int top, int right, int bottom, uint8_t colour);
    // The ellipse's border, one pixel wide.
    void EllipseOutline(int left, int top, int right, int bottom, uint8_t colour);
    // Halves the picture by keeping every second pixel of every second row.
    Canvas Halved() const;

private:
    void Put(int x, int y, uint8_t colour);
    int m_width;
    int m_height;
    std::vector<uint8_t> m_pixels;
};

}  // namespace sampleart
