// Limits that keep a hostile GIF from making the decoder allocate without bound.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvgif {

// Each frame canvas fits the surface size limit (AImageFits), checked before its
// image is decoded. The frames of one decoder hold at most this many pixels together (512 MiB of
// 16-bit pixels); an image that would pass it ends the frame list.
constexpr int64_t kMaxDecoderPixels = int64_t{256} << 20;

// One LZW code names a string of at most 4096 indices and takes at least
// log2(4096) bits once strings grow that long, so a byte of image data yields
// fewer than 4096 indices. An image needing more indices than that from the data
// its sub-blocks hold cannot be a real image: it is refused, so a few bytes cannot
// claim a huge frame. Images up to kSmallImagePixels are always accepted, which
// keeps small truncated frames.
constexpr int64_t kMaxIndicesPerDataByte = 4096;
constexpr int64_t kSmallImagePixels = 65536;

// A 4096-entry table cannot hold the clear and end codes of a larger code size.
constexpr int kMaxMinimumCodeSize = 11;

constexpr bool DataCanFill(int64_t width, int64_t height, int64_t dataBytes) {
    const int64_t pixels = width * height;
    return pixels <= kSmallImagePixels || pixels <= dataBytes * kMaxIndicesPerDataByte;
}

}  // namespace kvgif
