// Hand-made sprites and a plain per-pixel reference compositor.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "imaging/lsp.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace kvtest {

struct SpriteDeleter {
    void operator()(lsp::SPRITE* sprite) const { lsp::FreeSprite(sprite); }
};
using SpritePtr = std::unique_ptr<lsp::SPRITE, SpriteDeleter>;

// Seeded random bytes for spans and runs to point into.
inline std::vector<unsigned char> RandomBytes(std::mt19937& random, size_t size) {
    std::vector<unsigned char> bytes(size);
    for (unsigned char& byte : bytes) {
        byte = static_cast<unsigned char>(random());
    }
    return bytes;
}

// Rows are run lists: (skip, count, count pixels...) repeated.
inline SpritePtr MakeSprite(int width, const std::vector<std::vector<uint16_t>>& rows) {
    size_t words = 0;
    for (const auto& row : rows) {
        words += row.size();
    }
    auto* sprite = static_cast<lsp::SPRITE*>(
        std::malloc(sizeof(lsp::SPRITE) + rows.size() * sizeof(uint16_t*) + words * 2));
    *sprite = lsp::SPRITE{width, static_cast<int32_t>(rows.size()),
                          reinterpret_cast<uint16_t**>(sprite + 1)};
    uint16_t* out = reinterpret_cast<uint16_t*>(sprite->rows + rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        sprite->rows[r] =
            static_cast<uint16_t*>(std::memcpy(out, rows[r].data(), rows[r].size() * 2));
        out += rows[r].size();
    }
    return SpritePtr(sprite);
}

// What a surface shows, painted pixel by pixel.
struct ReferenceSurface {
    int width;
    int rows;
    std::vector<uint16_t> pixels;

    ReferenceSurface(int w, int r, uint16_t back)
        : width(w), rows(r), pixels(size_t(w) * r, back) {}

    void Put(int x, int y, const lsp::SPRITE& sprite) {
        for (int r = 0; r < sprite.height; ++r) {
            const uint16_t* pair = sprite.rows[r];
            // A pair without opaque pixels ends its row.
            for (int column = 0; column < sprite.width && pair[1] != 0; pair += 2 + pair[1]) {
                column += pair[0];
                for (int i = 0; i < pair[1]; ++i, ++column) {
                    const int64_t px = int64_t{x} + column, row = int64_t{y} + r;
                    if (px >= 0 && px < width && row >= 0 && row < rows) {
                        pixels[size_t(row) * width + size_t(px)] = pair[2 + i];
                    }
                }
            }
        }
    }
};

inline uint16_t SurfacePixel(const lsp::CLspDib& surface, int x, int row) {
    uint16_t pixel;
    std::memcpy(&pixel, surface.m_pBits + size_t(row) * surface.m_nPitch + 2 * x, 2);
    return pixel;
}

// The pixels of the bitmap, selected into a memory DC, after draw(dc); deletes the bitmap.
template <typename Fn>
std::vector<COLORREF> DrawnPixels(HBITMAP bitmap, Fn&& draw) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    kvplatform::ReadDcPixels(dc, width, height, pixels);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

}  // namespace kvtest
