#include "imaging/lsp_sprite.h"

#include <cstdlib>
#include <cstring>

#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"

namespace lsp {
namespace {

// Number of 16-bit words a row's run list takes: two per pair plus the opaque pixels.
size_t KeyedRowWords(const uint16_t* pixels, int width) {
    size_t words = 0;
    int x = 0;
    while (x < width) {
        while (x < width && pixels[x] == kvpixel::kKeyPixel) {
            ++x;
        }
        const int opaqueStart = x;
        while (x < width && pixels[x] != kvpixel::kKeyPixel) {
            ++x;
        }
        words += 2 + static_cast<size_t>(x - opaqueStart);
    }
    return words;
}

uint16_t* WriteKeyedRow(const uint16_t* pixels, int width, uint16_t* out) {
    int x = 0;
    while (x < width) {
        const int skipStart = x;
        while (x < width && pixels[x] == kvpixel::kKeyPixel) {
            ++x;
        }
        const int opaqueStart = x;
        while (x < width && pixels[x] != kvpixel::kKeyPixel) {
            ++x;
        }
        const int count = x - opaqueStart;
        *out++ = static_cast<uint16_t>(opaqueStart - skipStart);
        *out++ = static_cast<uint16_t>(count);
        std::memcpy(out, pixels + opaqueStart, static_cast<size_t>(count) * 2);
        out += count;
    }
    return out;
}

uint16_t* WriteOpaqueRow(const uint16_t* pixels, int width, uint16_t* out) {
    if (width == 0) {
        return out;
    }
    *out++ = 0;
    *out++ = static_cast<uint16_t>(width);
    std::memcpy(out, pixels, static_cast<size_t>(width) * 2);
    return out + width;
}

// Lays out the header and row table, then lets writeRow fill each row's runs.
template <typename CountWords, typename WriteRow>
SPRITE* BuildSprite(CKvAImage& image, CountWords countWords, WriteRow writeRow) {
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    // Runs carry 16-bit counts.
    if (width < 0 || height < 0 || width > 0xFFFF) {
        return nullptr;
    }
    size_t runWords = 0;
    for (int row = 0; row < height; ++row) {
        runWords += countWords(image.Row(row), width);
    }
    const size_t bytes = sizeof(SPRITE) + sizeof(uint16_t*) * static_cast<size_t>(height) +
                         runWords * sizeof(uint16_t);
    auto* sprite = static_cast<SPRITE*>(std::malloc(bytes));
    if (sprite == nullptr) {
        return nullptr;
    }
    sprite->width = width;
    sprite->height = height;
    sprite->rows = reinterpret_cast<uint16_t**>(sprite + 1);
    uint16_t* out = reinterpret_cast<uint16_t*>(sprite->rows + height);
    for (int row = 0; row < height; ++row) {
        sprite->rows[row] = out;
        out = writeRow(image.Row(row), width, out);
    }
    return sprite;
}

}  // namespace

SPRITE* MakeSpriteFromImage(CKvAImage& image) {
    return BuildSprite(
        image,
        [](const uint16_t*, int width) { return width == 0 ? 0 : 2 + static_cast<size_t>(width); },
        WriteOpaqueRow);
}

SPRITE* MakeKeyedSpriteFromImage(CKvAImage& image) {
    return BuildSprite(image, KeyedRowWords, WriteKeyedRow);
}

void FreeSprite(SPRITE* sprite) {
    std::free(sprite);
}

}  // namespace lsp
