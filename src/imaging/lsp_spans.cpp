// Span splicing: clearing a surface, putting one span, putting a sprite's runs.
#include <algorithm>
#include <cstdint>

#include "imaging/lsp.h"

namespace lsp {
namespace {

// Blocks are kept once allocated, so composing allocates only while the pool grows.
SPAN* TakeNode(SPANPOOL* pool) {
    if (pool->count == kSpansPerBlock) {
        if (pool->current->next == nullptr) {
            pool->current->next = new SPANBLOCK{};
        }
        pool->current = pool->current->next;
        pool->count = 0;
    }
    return &pool->current->nodes[pool->count++];
}

// Makes columns begin to end show `data`, searching the row from `from`, whose begin
// must not lie right of `begin`. Needs 0 <= begin < end <= pitch. Returns the node
// of the new span: a node at or left of any later begin, so callers putting runs left
// to right can continue from it.
SPAN* Splice(SPANPOOL* pool, SPAN* from, int begin, int end, const unsigned char* data) {
    SPAN* first = from;
    while (begin >= first->end) {
        first = first->next;
    }
    SPAN* last = first;
    while (last->end < end) {
        last = last->next;
    }
    const bool keepsLeft = begin > first->begin;
    if (first == last) {
        // The new span lies inside one span: that span's right rest follows it.
        SPAN* rest = TakeNode(pool);
        *rest = *first;
        SPAN* placed = keepsLeft ? TakeNode(pool) : first;
        if (keepsLeft) {
            first->end = static_cast<short>(begin);
            first->next = placed;
        }
        *placed = SPAN{static_cast<short>(begin), static_cast<short>(end), 0, data, rest};
        rest->data += end - rest->begin;
        rest->begin = static_cast<short>(end);
        return placed;
    }
    // Spans strictly between first and last drop out; their nodes return at ClearSpans.
    SPAN* placed = keepsLeft ? TakeNode(pool) : first;
    if (keepsLeft) {
        first->end = static_cast<short>(begin);
        first->next = placed;
    }
    *placed = SPAN{static_cast<short>(begin), static_cast<short>(end), 0, data, last};
    last->data += end - last->begin;
    last->begin = static_cast<short>(end);
    return placed;
}

}  // namespace

void ClearSpans(CLsp* surface) {
    SPANPOOL* pool = surface->m_pSpanPool;
    if (pool == nullptr) {
        return;
    }
    pool->count = 0;
    pool->current = pool->first;
    for (int row = 0; row < surface->m_nRows; ++row) {
        SPAN* span = TakeNode(pool);
        *span = SPAN{0, static_cast<short>(surface->m_nPitch), 0, surface->m_pBackLine, nullptr};
        surface->m_ppRowSpans[row] = span;
    }
}

void PutSpan(CLsp* surface, int row, int begin, int end, const unsigned char* data) {
    if (row < 0 || row >= surface->m_nRows || begin < 0 || end <= begin ||
        end > surface->m_nPitch || data == nullptr) {
        return;
    }
    Splice(surface->m_pSpanPool, surface->m_ppRowSpans[row], begin, end, data);
}

// Positions are worked out in 64 bits and clipped before they become 16-bit columns,
// so a far-off sprite never wraps around onto the surface.
void PutSprite(CLsp* surface, int x, int y, const SPRITE* sprite) {
    if (sprite == nullptr) {
        return;
    }
    const int64_t firstRow = std::max(y, 0);
    const int64_t rowEnd = std::min<int64_t>(surface->m_nRows, int64_t{y} + sprite->height);
    const int64_t left = int64_t{2} * x;
    const int64_t limit = std::min<int64_t>(surface->m_nPitch, left + int64_t{2} * sprite->width);
    if (firstRow >= rowEnd || limit <= std::max<int64_t>(left, 0)) {
        return;
    }
    for (int64_t row = firstRow; row < rowEnd; ++row) {
        const uint16_t* pair = sprite->rows[row - y];
        SPAN* cursor = surface->m_ppRowSpans[row];
        int64_t column = left;
        while (column < limit) {
            const int count = pair[1];
            column += 2 * (pair[0] + count);
            // A pair without opaque pixels ends its row.
            if (count == 0) {
                break;
            }
            const int64_t runBegin = column - 2 * count;
            const int64_t begin = std::max<int64_t>(runBegin, 0);
            const int64_t end = std::min(column, limit);
            if (begin < end) {
                const auto* pixels = reinterpret_cast<const unsigned char*>(pair + 2);
                cursor = Splice(surface->m_pSpanPool, cursor, static_cast<int>(begin),
                                static_cast<int>(end), pixels + (begin - runBegin));
            }
            pair += 2 + count;
        }
    }
}

}  // namespace lsp
