#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace sampleart {

const Rgb kPalette[kColourCount] = {
    {0, 0, 255},     {250, 214, 180}, {226, 178, 140}, {60, 40, 30},   {255, 255, 255},
    {40, 40, 60},    {200, 60, 70},   {90, 60, 30},    {200, 120, 40}, {40, 120, 200},
    {220, 80, 150},  {50, 60, 90},    {120, 40, 120},  {70, 50, 40},   {240, 150, 150},
    {150, 160, 175}, {200, 150, 100}, {120, 80, 50},   {30, 30, 35},   {235, 200, 90},
    {60, 90, 200},   {90, 50, 130},   {240, 200, 60},  {230, 40, 40},  {110, 110, 110},
    {40, 160, 90},   {180, 30, 50},   {250, 190, 20},  {30, 70, 160},  {70, 110, 60},
    {215, 235, 250}, {250, 250, 250}, {90, 190, 80},
};

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height, kKey) {}

void Canvas::Put(int x, int y, uint8_t colour) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) {
        m_pixels[static_cast<size_t>(y) * m_width + x] = colour;
    }
}

void Canvas::Rect(int left, int top, int right, int bottom, uint8_t colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            Put(x, y, colour);
        }
    }
}

namespace {

// Whether the pixel centre (x, y) lies inside the ellipse of the box.
bool InEllipse(int x, int y, int left, int top, int right, int bottom) {
    const double cx = (left + right) / 2.0;
    const double cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0;
    const double ry = (bottom - top) / 2.0;
    const double dx = (x + 0.5 - cx) / rx;
    const double dy = (y + 0.5 - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

}  // namespace

void Canvas::Ellipse(int left, int top, int right, int bottom, uint8_t colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (InEllipse(x, y, left, top, right, bottom)) {
                Put(x, y, colour);
            }
        }
    }
}

void Canvas::EllipseOutline(int left, int top, int right, int bottom, uint8_t colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const bool inside = InEllipse(x, y, left, top, right, bottom);
            const bool edge = !InEllipse(x - 1, y, left, top, right, bottom) ||
                              !InEllipse(x + 1, y, left, top, right, bottom) ||
                              !InEllipse(x, y - 1, left, top, right, bottom) ||
                              !InEllipse(x, y + 1, left, top, right, bottom);
            if (inside && edge) {
                Put(x, y, colour);
            }
        }
    }
}

void Canvas::Line(int x0, int y0, int x1, int y1, uint8_t colour) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
        const double t = steps == 0 ? 0.0 : static_cast<double>(i) / steps;
        Put(static_cast<int>(std::lround(x0 + (x1 - x0) * t)),
            static_cast<int>(std::lround(y0 + (y1 - y0) * t)), colour);
    }
}

void Canvas::Paint(const Canvas& over, int dx, int dy) {
    for (int y = 0; y < over.m_height; ++y) {
        for (int x = 0; x < over.m_width; ++x) {
            const uint8_t p = over.At(x, y);
            if (p != kKey) {
                Put(x + dx, y + dy, p);
            }
        }
    }
}

void Canvas::Recolour(uint8_t colour) {
    for (uint8_t& p : m_pixels) {
        p = p == kKey ? static_cast<uint8_t>(kKey) : colour;
    }
}

Canvas Canvas::Cropped(int left, int top, int width, int height) const {
    Canvas part(width, height);
    part.Paint(*this, -left, -top);
    return part;
}

Canvas Canvas::Halved() const {
    Canvas half(m_width / 2, m_height / 2);
    for (int y = 0; y < half.m_height; ++y) {
        for (int x = 0; x < half.m_width; ++x) {
            half.Put(x, y, m_pixels[static_cast<size_t>(y * 2) * m_width + x * 2]);
        }
    }
    return half;
}

}  // namespace sampleart
