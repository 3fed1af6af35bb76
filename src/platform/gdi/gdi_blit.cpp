#include "platform/gdi/gdi_blit.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/gdi/gdi_rop.h"
#include "platform/gdi/gdi_rows.h"

namespace kvgdi {

namespace {

constexpr DWORD kRopTableSrcCopy = 0xCC;

// Along one axis: the first destination coordinate drawn, how many, and for each
// one the source coordinate it takes. A straight axis (unscaled, unmirrored) reads
// consecutive source pixels from sourceFirst and keeps no table.
struct AxisMap {
    int first = 0;
    int count = 0;
    bool straight = false;
    int sourceFirst = 0;
    std::vector<int> source;

    int SourceAt(int k) const {
        return straight ? sourceFirst + k : source[static_cast<size_t>(k)];
    }
};

// Maps destination pixel centres onto the source: index i of the destination span
// samples floor((2i + 1) * sourceLength / (2 * destinationLength)), so equal lengths
// copy exactly. 128-bit arithmetic because callers may pass any int.
AxisMap MapAxis(int destOrigin, int destLength, int destSize, int srcOrigin, int srcLength,
                int srcSize, bool withSource) {
    AxisMap map;
    int64_t dStart = destOrigin, dLen = destLength, sStart = srcOrigin, sLen = srcLength;
    bool mirror = false;
    if (dLen < 0) {
        dStart += dLen;
        dLen = -dLen;
        mirror = !mirror;
    }
    if (sLen < 0) {
        sStart += sLen;
        sLen = -sLen;
        mirror = !mirror;
    }
    if (dLen == 0 || (withSource && sLen == 0)) {
        return map;
    }
    int64_t lo = std::max<int64_t>(0, -dStart);
    int64_t hi = std::min<int64_t>(dLen, destSize - dStart);
    if (withSource && sLen == dLen && !mirror) {
        // Pixel i takes sStart + i: clip to the source in one step.
        lo = std::max<int64_t>(lo, -sStart);
        hi = std::min<int64_t>(hi, srcSize - sStart);
        map.straight = true;
    }
    if (lo >= hi) {
        return map;
    }
    map.first = static_cast<int>(dStart + lo);
    map.count = static_cast<int>(hi - lo);
    if (map.straight) {
        map.sourceFirst = static_cast<int>(sStart + lo);
        return map;
    }
    if (!withSource) {
        return map;
    }
    auto sourceAt = [&](int64_t i) {
        const __int128 j =
            (static_cast<__int128>(2 * i + 1) * sLen) / (2 * static_cast<__int128>(dLen));
        const int64_t offset = static_cast<int64_t>(j);
        return sStart + (mirror ? sLen - 1 - offset : offset);
    };
    // The mapping is monotonic, so the pixels with a source inside the surface are
    // one run: trim both ends.
    auto inside = [&](int64_t i) {
        const int64_t s = sourceAt(i);
        return s >= 0 && s < srcSize;
    };
    while (lo < hi && !inside(lo)) {
        ++lo;
    }
    while (hi > lo && !inside(hi - 1)) {
        --hi;
    }
    map.first = static_cast<int>(dStart + lo);
    map.count = static_cast<int>(hi - lo);
    map.source.reserve(static_cast<size_t>(map.count));
    for (int64_t i = lo; i < hi; ++i) {
        map.source.push_back(static_cast<int>(sourceAt(i)));
    }
    return map;
}

// Conversion of a source raw pixel into the destination's raw format, written once
// per kind of pair: same format, from monochrome, to monochrome, colour to colour.
template <typename S, typename D>
struct Converter {
    uint32_t sourceBk = 0;          // the source DC's background in the source format
    uint32_t fromMono[2] = {0, 0};  // destination text and background colours

    Converter(COLORREF srcBkColor, COLORREF dstText, COLORREF dstBk)
        : sourceBk(S::FromColor(srcBkColor) & S::kMask & 0xFFFFFFu),
          fromMono{D::FromColor(dstText), D::FromColor(dstBk)} {}

    uint32_t operator()(uint32_t s) const {
        if constexpr (std::is_same_v<S, D>) {
            return s;
        } else if constexpr (std::is_same_v<S, Mono1>) {
            return fromMono[s];
        } else if constexpr (std::is_same_v<D, Mono1>) {
            return (s & S::kMask & 0xFFFFFFu) == sourceBk ? 1u : 0u;
        } else {
            return D::FromColor(S::ToColor(s));
        }
    }
};

template <typename Write>
void ForEachPixel(const Surface& dst, const AxisMap& xs, const AxisMap& ys, Write&& write) {
    for (int r = 0; r < ys.count; ++r) {
        uint8_t* row = dst.Row(ys.first + r);
        for (int k = 0; k < xs.count; ++k) {
            write(row, xs.first + k, 0u);
        }
    }
}

template <typename S, typename D, typename Write>
void ForEachSourcePixel(const Surface& src, const Surface& dst, const AxisMap& xs,
                        const AxisMap& ys, const Converter<S, D>& convert, Write&& write) {
    for (int r = 0; r < ys.count; ++r) {
        const uint8_t* from = src.Row(ys.SourceAt(r));
        uint8_t* to = dst.Row(ys.first + r);
        if (xs.straight) {
            for (int k = 0; k < xs.count; ++k) {
                write(to, xs.first + k, convert(S::Get(from, xs.sourceFirst + k)));
            }
        } else {
            for (int k = 0; k < xs.count; ++k) {
                write(to, xs.first + k, convert(S::Get(from, xs.source[static_cast<size_t>(k)])));
            }
        }
    }
}

// Calls copyRow(to, from) for every row, both pointing at the span's first pixel.
template <typename CopyRow>
void ForEachRow(const Surface& src, const Surface& dst, const AxisMap& xs, const AxisMap& ys,
                CopyRow&& copyRow) {
    const size_t fromOffset =
        static_cast<size_t>(xs.sourceFirst) * static_cast<size_t>(BitsPerPixel(src.format) / 8);
    const size_t toOffset =
        static_cast<size_t>(xs.first) * static_cast<size_t>(BitsPerPixel(dst.format) / 8);
    for (int r = 0; r < ys.count; ++r) {
        copyRow(dst.Row(ys.first + r) + toOffset, src.Row(ys.SourceAt(r)) + fromOffset);
    }
}

// Whole rows at a time where the span is straight and the row table has a function
// for the formats and the operation; false leaves the blit to the per-pixel path.
bool CopyWholeRows(const Surface& src, const Surface& dst, const AxisMap& xs, const AxisMap& ys,
                   const BlitOperation& operation) {
    if (!xs.straight) {
        return false;
    }
    RowOperation rowOperation = RowOperation::Keyed;
    if (!operation.transparent) {
        if (RopTable(operation.rop) != kRopTableSrcCopy) {
            return false;
        }
        rowOperation = RowOperation::Copy;
    }
    const RowFunction copyRow = FindRowPath(src.format, dst.format, rowOperation);
    if (copyRow == nullptr) {
        return false;
    }
    const int count = xs.count;
    const COLORREF key = operation.key;
    ForEachRow(src, dst, xs, ys,
               [=](uint8_t* to, const uint8_t* from) { copyRow(to, from, count, key); });
    return true;
}

// A copy of the source when it is the destination itself, so rows are read before
// they are overwritten whatever the direction.
std::shared_ptr<Surface> Snapshot(const Surface& surface) {
    auto copy = CreateSurface(surface.width, surface.height, surface.format);
    if (copy) {
        const size_t rowBytes = RowBytes(surface.width, BitsPerPixel(surface.format), 1);
        for (int y = 0; y < surface.height; ++y) {
            std::memcpy(copy->Row(y), surface.Row(y), rowBytes);
        }
    }
    return copy;
}

// Calls fn with the per-pixel writer of the operation, chosen once per blit so the
// row loops carry no per-pixel decisions.
template <typename D, typename Fn>
void WithWriter(const BlitTarget& target, const BlitOperation& operation, Fn&& fn) {
    if (operation.transparent) {
        const uint32_t keyMask = D::kMask & 0xFFFFFFu;
        const uint32_t key = D::FromColor(operation.key) & keyMask;
        fn([=](uint8_t* row, int x, uint32_t s) {
            if ((s & keyMask) != key) {
                D::Put(row, x, s);
            }
        });
    } else if (RopTable(operation.rop) == kRopTableSrcCopy) {
        fn([](uint8_t* row, int x, uint32_t s) { D::Put(row, x, s); });
    } else {
        const BoundRop rop(operation.rop, D::FromColor(target.patternColor));
        fn([=](uint8_t* row, int x, uint32_t s) {
            D::Put(row, x, rop(s, D::Get(row, x)) & D::kMask);
        });
    }
}

// The bytes a surface's rows occupy, for telling whether two surfaces share memory.
std::pair<const uint8_t*, const uint8_t*> Extent(const Surface& surface) {
    const uint8_t* first = surface.Row(0);
    const uint8_t* last = surface.Row(surface.height - 1);
    const size_t rowBytes = surface.pitch < 0 ? static_cast<size_t>(-surface.pitch)
                                              : static_cast<size_t>(surface.pitch);
    return {std::min(first, last), std::max(first, last) + rowBytes};
}

bool Overlap(const Surface& a, const Surface& b) {
    const auto [aBegin, aEnd] = Extent(a);
    const auto [bBegin, bEnd] = Extent(b);
    return aBegin < bEnd && bBegin < aEnd;
}

}  // namespace

void GenericRow(PixelFormat source, PixelFormat dest, RowOperation operation, uint8_t* to,
                const uint8_t* from, int count, COLORREF key) {
    const BlitOperation blit{kRopTableSrcCopy << 16, operation == RowOperation::Keyed, key};
    WithFormat(source, [&](auto s) {
        WithFormat(dest, [&](auto d) {
            using S = decltype(s);
            using D = decltype(d);
            const Converter<S, D> convert(0, 0, 0);
            WithWriter<D>(BlitTarget{}, blit, [&](auto write) {
                for (int k = 0; k < count; ++k) {
                    write(to, k, convert(S::Get(from, k)));
                }
            });
        });
    });
}

bool Blit(const BlitTarget& target, const BlitRect& to, const BlitSource& source,
          const BlitRect& from, const BlitOperation& operation) {
    const bool withSource = operation.transparent || RopUsesSource(operation.rop);
    if (withSource && source.surface == nullptr) {
        return false;
    }
    Surface& dst = *target.surface;
    const int srcWidth = withSource ? source.surface->width : 0;
    const int srcHeight = withSource ? source.surface->height : 0;
    const AxisMap xs = MapAxis(to.x, to.width, dst.width, from.x, from.width, srcWidth, withSource);
    const AxisMap ys =
        MapAxis(to.y, to.height, dst.height, from.y, from.height, srcHeight, withSource);
    if (xs.count == 0 || ys.count == 0) {
        return true;
    }
    if (!withSource) {
        WithFormat(dst.format, [&](auto d) {
            using D = decltype(d);
            WithWriter<D>(target, operation, [&](auto write) { ForEachPixel(dst, xs, ys, write); });
        });
        return true;
    }
    std::shared_ptr<Surface> snapshot;
    const Surface* src = source.surface;
    if (Overlap(*src, dst)) {
        snapshot = Snapshot(*src);
        if (!snapshot) {
            return false;
        }
        src = snapshot.get();
    }
    if (CopyWholeRows(*src, dst, xs, ys, operation)) {
        return true;
    }
    WithFormat(src->format, [&](auto s) {
        WithFormat(dst.format, [&](auto d) {
            using S = decltype(s);
            using D = decltype(d);
            const Converter<S, D> convert(source.bkColor, target.textColor, target.bkColor);
            WithWriter<D>(target, operation, [&](auto write) {
                ForEachSourcePixel(*src, dst, xs, ys, convert, write);
            });
        });
    });
    return true;
}

}  // namespace kvgdi
