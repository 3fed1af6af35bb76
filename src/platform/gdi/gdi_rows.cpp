#include "platform/gdi/gdi_rows.h"

#include <cstring>
#include <iterator>
#include <vector>

#include "platform/gdi/gdi_rows_vbmi.h"

namespace kvgdi {

// Conversions are compiled once per instruction set and picked when the library
// loads, where the toolchain can (an ifunc); elsewhere the portable loop alone. The
// thread sanitizer's runtime is not up yet when ifunc resolvers run, so its builds
// keep the portable loop too.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__) && \
    !defined(__SANITIZE_THREAD__)
#define KVGDI_CPU_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define KVGDI_CPU_CLONES
#endif

namespace {

// Loads and stores through memcpy: rows are byte arrays and spans may start at any
// even offset; the compiler turns these into plain vector moves.
uint32_t Load555(const uint8_t* from, int i) {
    uint16_t v;
    std::memcpy(&v, from + 2 * i, sizeof(v));
    return v;
}

uint32_t Load8888(const uint8_t* row, int i) {
    uint32_t v;
    std::memcpy(&v, row + 4 * i, sizeof(v));
    return v;
}

void Store8888(uint8_t* row, int i, uint32_t v) {
    std::memcpy(row + 4 * i, &v, sizeof(v));
}

// Xrgb8888::FromColor(Rgb555::ToColor(v)) without the detour through COLORREF. Each
// channel goes to the top of its byte first, then all three copy their top three
// bits below at once: fewer vector operations than widening channel by channel.
uint32_t Widen555(uint32_t v) {
    const uint32_t high = ((v << 9) & 0xF80000u) | ((v << 6) & 0xF800u) | ((v << 3) & 0xF8u);
    return high | ((high >> 5) & 0x070707u);
}

// The rows never overlap, so __restrict spares the loops a run-time alias check.

template <int kBytesPerPixel>
void composite_src_memcpy(uint8_t* __restrict to, const uint8_t* __restrict from, int count,
                          COLORREF) {
    std::memcpy(to, from, static_cast<size_t>(count) * kBytesPerPixel);
}

KVGDI_CPU_CLONES void composite_src_555_8888(uint8_t* __restrict to, const uint8_t* __restrict from,
                                             int count, COLORREF) {
    for (int i = 0; i < count; ++i) {
        Store8888(to, i, Widen555(Load555(from, i)));
    }
}

KVGDI_CPU_CLONES void composite_keyed_555_8888(uint8_t* __restrict to,
                                               const uint8_t* __restrict from, int count,
                                               COLORREF key) {
    const uint32_t keyPixel = KeyPixel555(key);
    for (int i = 0; i < count; ++i) {
        const uint32_t v = Load555(from, i);
        // All ones where the pixel is the key: a select rather than a branch.
        const uint32_t keep = 0u - static_cast<uint32_t>((v & 0x7FFFu) == keyPixel);
        Store8888(to, i, (Load8888(to, i) & keep) | (Widen555(v) & ~keep));
    }
}

constexpr RowPath kRowPaths[] = {
    {"composite_src_memcpy_555", PixelFormat::Rgb555, PixelFormat::Rgb555, RowOperation::Copy,
     composite_src_memcpy<2>},
    {"composite_src_memcpy_888", PixelFormat::Rgb888, PixelFormat::Rgb888, RowOperation::Copy,
     composite_src_memcpy<3>},
    {"composite_src_memcpy_8888", PixelFormat::Xrgb8888, PixelFormat::Xrgb8888, RowOperation::Copy,
     composite_src_memcpy<4>},
    {"composite_src_555_8888", PixelFormat::Rgb555, PixelFormat::Xrgb8888, RowOperation::Copy,
     composite_src_555_8888},
    {"composite_keyed_555_8888", PixelFormat::Rgb555, PixelFormat::Xrgb8888, RowOperation::Keyed,
     composite_keyed_555_8888},
};

// The per-CPU paths first, so that FindRowPath takes them where they exist.
std::vector<RowPath> AllRowPaths() {
    const std::span<const RowPath> vbmi = VbmiRowPaths();
    std::vector<RowPath> paths(vbmi.begin(), vbmi.end());
    paths.insert(paths.end(), std::begin(kRowPaths), std::end(kRowPaths));
    return paths;
}

}  // namespace

std::span<const RowPath> RowPaths() {
    static const std::vector<RowPath> paths = AllRowPaths();
    return paths;
}

RowFunction FindRowPath(PixelFormat source, PixelFormat dest, RowOperation operation) {
    for (const RowPath& path : RowPaths()) {
        if (path.source == source && path.dest == dest && path.operation == operation) {
            return path.function;
        }
    }
    return nullptr;
}

}  // namespace kvgdi
