// Hand-made sprites and a plain per-pixel reference compositor for tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "imaging/lsp.h"

namespace kvtest {

struct SpriteDeleter {
    void operator()(lsp::SPRITE* sprite) const { lsp::FreeSprite(sprite); }
};
using SpritePtr = std::unique_ptr<lsp::SPRITE, SpriteDeleter>;

// A sprite whose rows are the given run lists: (skip, count, count pixels...) repeated.
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

// What a surface of `width` x `rows` pixels shows, painted pixel by pixel.
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

}  // namespace kvtest
