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
    const size_t bytes = sizeof(lsp::SPRITE) + rows.size() * sizeof(uint16_t*) + words * 2;
    auto* sprite = static_cast<lsp::SPRITE*>(std::malloc(bytes));
    sprite->width = width;
    sprite->height = static_cast<int32_t>(rows.size());
    sprite->rows = reinterpret_cast<uint16_t**>(sprite + 1);
    uint16_t* out = reinterpret_cast<uint16_t*>(sprite->rows + rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        sprite->rows[r] = out;
        std::memcpy(out, rows[r].data(), rows[r].size() * 2);
        out += rows[r].size();
    }
    return SpritePtr(sprite);
}

// What a surface of `pixelsPerRow` x `rows` pixels shows, painted pixel by pixel.
class ReferenceSurface {
public:
    ReferenceSurface(int pixelsPerRow, int rows, uint16_t back)
        : m_width(pixelsPerRow), m_rows(rows), m_pixels(size_t(pixelsPerRow) * rows, back) {}

    void Put(int x, int y, const lsp::SPRITE& sprite) {
        for (int r = 0; r < sprite.height; ++r) {
            const uint16_t* pair = sprite.rows[r];
            int column = 0;
            while (column < sprite.width) {
                const int skip = pair[0], count = pair[1];
                column += skip;
                for (int i = 0; i < count; ++i) {
                    Set(x + column + i, y + r, pair[2 + i]);
                }
                column += count;
                pair += 2 + count;
            }
        }
    }

    uint16_t At(int x, int row) const { return m_pixels[size_t(row) * m_width + x]; }

private:
    void Set(int x, int row, uint16_t pixel) {
        if (x >= 0 && x < m_width && row >= 0 && row < m_rows) {
            m_pixels[size_t(row) * m_width + x] = pixel;
        }
    }

    int m_width;
    int m_rows;
    std::vector<uint16_t> m_pixels;
};

inline uint16_t SurfacePixel(const lsp::CLspDib& surface, int x, int row) {
    uint16_t pixel;
    std::memcpy(&pixel, surface.m_pBits + size_t(row) * surface.m_nPitch + 2 * x, 2);
    return pixel;
}

}  // namespace kvtest
