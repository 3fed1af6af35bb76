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
    kSkinTan,
    kSkinDark,
    kHairBlack,
    kHairBlond,
    kHairBlue,
    kHat,
    kHatBand,
    kBalloon,
    kString,
    kScarf,
    kCape,
    kGold,
    kSuit,
    kJacket,
    kPanel,
    kQuestion,
    kGreen,
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
    uint8_t At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }

    void Rect(int left, int top, int right, int bottom, uint8_t colour);
    // Axis-aligned ellipse inside the box [left, right) x [top, bottom).
    void Ellipse(int left, int top, int right, int bottom, uint8_t colour);
    // The ellipse's border, one pixel wide.
    void EllipseOutline(int left, int top, int right, int bottom, uint8_t colour);
    // A line one pixel wide from (x0, y0) to (x1, y1), both ends included.
    void Line(int x0, int y0, int x1, int y1, uint8_t colour);
    // The opaque pixels of over, moved by (dx, dy).
    void Paint(const Canvas& over, int dx = 0, int dy = 0);
    // Every opaque pixel in one colour.
    void Recolour(uint8_t colour);
    Canvas Cropped(int left, int top, int width, int height) const;
    // Halves the picture by keeping every second pixel of every second row.
    Canvas Halved() const;

private:
    void Put(int x, int y, uint8_t colour);
    int m_width;
    int m_height;
    std::vector<uint8_t> m_pixels;
};

}  // namespace sampleart
