#include "gif/gif_stream.h"

namespace kvgif {

void CodeReader::Start(const DataCursor& cursor, int codeBits) {
    *this = CodeReader{};
    m_in = cursor.data + cursor.pos;
    m_blockEnd = m_in;
    m_end = cursor.data + cursor.length;
    m_codeSize = codeBits;
}

unsigned char CodeReader::NextBlockByte() {
    if (m_ended || m_in == m_end) {
        m_ended = true;
        return 0xFF;
    }
    const size_t size = *m_in;
    if (size == 0) {
        // Stay on the terminator: the decoder skips it once the image is done.
        m_ended = true;
        return 0xFF;
    }
    if (size > static_cast<size_t>(m_end - m_in - 1)) {
        // A sub-block cut off by the end of the file: nothing after it can be a block.
        m_in = m_end;
        m_blockEnd = m_end;
        m_ended = true;
        return 0xFF;
    }
    m_blockEnd = m_in + 1 + size;
    m_in += 2;
    return m_in[-1];
}

bool CodeReader::Code(unsigned& code) {
    while (m_count < m_codeSize) {
        const unsigned char byte = Byte();
        if (m_ended) {
            return false;
        }
        m_bits |= uint64_t{byte} << m_count;
        m_count += 8;
    }
    code = static_cast<unsigned>(m_bits) & ((1u << m_codeSize) - 1u);
    m_bits >>= m_codeSize;
    m_count -= m_codeSize;
    return true;
}

}  // namespace kvgif
