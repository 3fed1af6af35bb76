#include "gif/gif_code_bytes.h"

#include <new>

namespace kvgif {

bool CodeBytes::Gather(const DataCursor& cursor) {
    m_data = cursor.data;
    m_start = cursor.pos;
    // The sub-blocks as the byte reader walks them: a cut-off one yields nothing.
    size_t total = 0;
    size_t at = cursor.pos;
    while (at < cursor.length && cursor.data[at] != 0 &&
           cursor.data[at] <= cursor.length - at - 1) {
        total += cursor.data[at];
        at += 1 + cursor.data[at];
    }
    m_stop = at < cursor.length && cursor.data[at] == 0 ? at : cursor.length;
    if (total + kPadding > m_capacity) {
        m_bytes.reset(new (std::nothrow) unsigned char[total + kPadding]);
        m_capacity = m_bytes != nullptr ? total + kPadding : 0;
        if (m_bytes == nullptr) {
            m_size = 0;
            return false;
        }
    }
    unsigned char* out = m_bytes.get();
    for (size_t block = cursor.pos; block < at; block += 1 + cursor.data[block]) {
        std::memcpy(out, cursor.data + block + 1, cursor.data[block]);
        out += cursor.data[block];
    }
    std::memset(out, 0, kPadding);
    m_size = total;
    return true;
}

size_t CodeBytes::PositionAfter(uint64_t bits, bool ended) const {
    const size_t used = static_cast<size_t>((bits + 7) / 8);
    if (ended) {
        return m_stop - (m_size - used);
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
