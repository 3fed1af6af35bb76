// Span splicing: clearing a surface, putting one span, putting a sprite's runs.
#include <algorithm>
#include <cstdint>
#include <new>

#include "imaging/lsp.h"

namespace lsp {
namespace {

// Hands out the pool's nodes in order from registers: span stores may alias the pool
// (a span holds a char), so going through it would reload it after every store. The
// pool learns its new count when the cursor goes.
class NodeCursor {
public:
    explicit NodeCursor(SPANPOOL* pool)
        : m_pool(pool),
          m_next(pool->current->nodes + pool->count),
          m_end(pool->current->nodes + kSpansPerBlock) {}
    ~NodeCursor() { m_pool->count = static_cast<int>(m_next - m_pool->current->nodes); }
    NodeCursor(const NodeCursor&) = delete;
    NodeCursor& operator=(const NodeCursor&) = delete;

    // Makes the next two Takes safe, which is what one splice needs; false when that
    // needs a new block and there is no memory for it.
    bool Reserve() { return m_end - m_next >= 2 || LinkNextBlock(m_pool->current); }

    // Needs a Reserve first, except where the pool already has the blocks.
    SPAN* Take() {
        if (m_next == m_end) [[unlikely]] {
            m_pool->current = m_pool->current->next;
            m_next = m_pool->current->nodes;
            m_end = m_next + kSpansPerBlock;
        }
        return m_next++;
    }

private:
    // Blocks are kept once allocated, so composing allocates only while the pool grows.
    // Static, so that the cursor itself never leaves registers.
    [[gnu::noinline]] static bool LinkNextBlock(SPANBLOCK* block) {
        if (block->next == nullptr) {
            block->next = new (std::nothrow) SPANBLOCK{};
        }
        return block->next != nullptr;
    }

    SPANPOOL* m_pool;
    SPAN* m_next;
    SPAN* m_end;
};

// The new span lies inside `span` and leaves something of it on the left: the common
// case once parts overlap. The right rest, empty when both end together, takes the
// first node, the new span the second. Returns the right rest.
inline SPAN* SpliceInside(NodeCursor& nodes, SPAN* span, int begin, int end,
                          const unsigned char* data) {
    SPAN* rest = nodes.Take();
    SPAN* placed = nodes.Take();
    *rest =
        SPAN{static_cast<short>(end), span->end, 0, span->data + (end - span->begin), span->next};
    *placed = SPAN{static_cast<short>(begin), static_cast<short>(end), 0, data, rest};
    span->end = static_cast<short>(begin);
    span->next = placed;
    return rest;
}

// Every other case, `first` being the span that shows column `begin`. Returns the
// span that now begins at `end`.
inline SPAN* SpliceAcross(NodeCursor& nodes, SPAN* first, int begin, int end,
                          const unsigned char* data) {
    SPAN* last = first;
    while (last->end < end) {
        last = last->next;
    }
    if (first == last) {
        // Inside one span: a copy of it becomes the right rest.
        last = nodes.Take();
        *last = *first;
    }
    // Spans strictly between first and last drop out; their nodes return at ClearSpans.
    SPAN* placed = first;
    if (begin > first->begin) {
        placed = nodes.Take();
        first->end = static_cast<short>(begin);
        first->next = placed;
    }
    last->data += end - last->begin;
    last->begin = static_cast<short>(end);
    *placed = SPAN{static_cast<short>(begin), static_cast<short>(end), 0, data, last};
    return last;
}

// Makes columns begin to end show `data`, searching the row from `from`, whose begin
// must not lie right of `begin`. Needs 0 <= begin < end <= pitch. Returns the span
// that now begins at `end`, so callers putting runs left to right continue from it.
inline SPAN* Splice(NodeCursor& nodes, SPAN* from, int begin, int end, const unsigned char* data) {
    SPAN* first = from;
    while (begin >= first->end) {
        first = first->next;
    }
    if (end <= first->end && begin > first->begin) {
        return SpliceInside(nodes, first, begin, end, data);
    }
    return SpliceAcross(nodes, first, begin, end, data);
}

// One sprite row whose pairs start at `pair`; its left edge is at column `left`,
// and columns from `limit` on are cut off. False when the span pool ran out of memory.
inline bool PutSpriteRow(NodeCursor& nodes, SPAN* cursor, const uint16_t* pair, int64_t left,
                         int64_t limit) {
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
            if (!nodes.Reserve()) [[unlikely]] {
                return false;
            }
            const auto* pixels = reinterpret_cast<const unsigned char*>(pair + 2);
            cursor = Splice(nodes, cursor, static_cast<int>(begin), static_cast<int>(end),
                            pixels + (begin - runBegin));
        }
        pair += 2 + count;
    }
    return true;
}

}  // namespace

void ClearSpans(CLsp* surface) {
    SPANPOOL* pool = surface->m_pSpanPool;
    if (pool == nullptr) {
        return;
    }
    pool->count = 0;
    pool->current = pool->first;
    NodeCursor nodes(pool);
    const SPAN fresh{0, static_cast<short>(surface->m_nPitch), 0, surface->m_pBackLine, nullptr};
    SPAN** rowSpans = surface->m_ppRowSpans;
    for (int row = 0; row < surface->m_nRows; ++row) {
        SPAN* span = nodes.Take();
        *span = fresh;
        rowSpans[row] = span;
    }
}

void PutSpan(CLsp* surface, int row, int begin, int end, const unsigned char* data) {
    if (row < 0 || row >= surface->m_nRows || begin < 0 || end <= begin ||
        end > surface->m_nPitch || data == nullptr) {
        return;
    }
    NodeCursor nodes(surface->m_pSpanPool);
    if (nodes.Reserve()) {
        Splice(nodes, surface->m_ppRowSpans[row], begin, end, data);
    }
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
    NodeCursor nodes(surface->m_pSpanPool);
    SPAN* const* rowSpans = surface->m_ppRowSpans;
    const uint16_t* const* spriteRows = sprite->rows;
    for (int64_t row = firstRow; row < rowEnd; ++row) {
        const uint16_t* pair = spriteRows[row - y];
        // Most rows of a part show nothing: one pair without opaque pixels. Only a
        // row's last pair can be such a pair, so nothing else of the row is read.
        if (pair[1] == 0) {
            continue;
        }
        // Out of memory: the rest of the sprite is left off this picture.
        if (!PutSpriteRow(nodes, rowSpans[row], pair, left, limit)) {
            return;
        }
    }
}

}  // namespace lsp
