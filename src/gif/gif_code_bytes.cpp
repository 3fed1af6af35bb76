#include "gif/gif_code_bytes.h"

namespace kvgif {

CodeBits CodeBytes::Start(const DataCursor& cursor) {
    m_data = cursor.data;
    m_start = cursor.pos;
    m_next = cursor.pos;
    m_dropped = 0;
    // The sub-blocks as the byte reader walks them: a cut-off one yields nothing.
    m_total = 0;
    size_t at = cursor.pos;
    while (at < cursor.length && cursor.data[at] != 0 &&
           cursor.data[at] <= cursor.length - at - 1) {
        m_total += cursor.data[at];
        at += 1 + cursor.data[at];
    }
    m_last = at;
    m_stop = at < cursor.length && cursor.data[at] == 0 ? at : cursor.length;
    return Refilled(CodeBits{m_bytes, 0, 0});
}

CodeBits CodeBytes::Refilled(CodeBits bits) {
    const size_t used = static_cast<size_t>(bits.position >> 3);
    const size_t kept = static_cast<size_t>(bits.end >> 3) - used;
    std::memmove(m_bytes, m_bytes + used, kept);
    m_dropped += used;
    size_t filled = kept;
    while (m_next < m_last && filled + m_data[m_next] <= kCapacity) {
        std::memcpy(m_bytes + filled, m_data + m_next + 1, m_data[m_next]);
        filled += m_data[m_next];
        m_next += 1 + m_data[m_next];
    }
    std::memset(m_bytes + filled, 0, kPadding);
    return CodeBits{m_bytes, bits.position & 7, uint64_t{filled} * 8};
}

size_t CodeBytes::PositionAfter(uint64_t bits, bool ended) const {
    const size_t used = static_cast<size_t>((bits + 7) / 8);
    if (ended) {
        return m_stop - (m_total - used);
    }
    if (used == 0) {
        return m_start;
    }
    // The sub-block holding the last byte used.
    size_t before = 0;
    size_t block = m_start;
    while (used > before + m_data[block]) {
        before += m_data[block];
        block += 1 + m_data[block];
    }
    return block + 1 + (used - before);
}

}  // namespace kvgif
