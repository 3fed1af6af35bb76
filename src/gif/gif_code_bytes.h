// An image's LZW code bytes gathered out of their sub-blocks, a few thousand at a
// time into a buffer that stays in the cache, so the decoder reads every code with
// one unaligned load and no sub-block test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gif/gif_stream.h"

namespace kvgif {

// Codes read least significant bit first from gathered bytes. The LZW loop keeps
// it in registers.
struct CodeBits {
    const unsigned char* bytes;
    uint64_t position;  // bits taken
    uint64_t end;       // bits there are

    // The next code of size bits (mask: its low size bits set); false, with
    // nothing taken, when fewer bits are there.
    bool Next(unsigned& code, int size, unsigned mask) {
        if (position + static_cast<unsigned>(size) > end) {
            return false;
        }
        uint64_t word;
        std::memcpy(&word, bytes + (position >> 3), sizeof(word));
        code = static_cast<unsigned>(word >> (position & 7)) & mask;
        position += static_cast<unsigned>(size);
        return true;
    }
};

class CodeBytes {
public:
    // Starts on the sub-blocks at the cursor's position, which run to the
    // terminator, the end of the data block or a sub-block cut off by it.
    CodeBits Start(const DataCursor& cursor);
    // The bits with the used bytes dropped and the next sub-blocks added; as they
    // were when the sub-blocks are used up.
    CodeBits Refilled(CodeBits bits);
    // The bits taken from the start, given the bits as the decoder left them.
    uint64_t Taken(const CodeBits& bits) const { return m_dropped * 8 + bits.position; }

    // Where the cursor stands after the decoder took bits bits: just past the last
    // byte a code used; when the codes ran out (ended), at the terminator or the end
    // of the data block, less the whole bytes a code was still waiting for.
    size_t PositionAfter(uint64_t bits, bool ended) const;

private:
    static constexpr size_t kCapacity = 8192;
    // Bytes readable past the gathered ones, all zero.
    static constexpr size_t kPadding = 8;

    unsigned char m_bytes[kCapacity + kPadding];
    const unsigned char* m_data = nullptr;  // the data block
    size_t m_start = 0;                     // the first size byte
    size_t m_next = 0;                      // the size byte of the next sub-block to add
    size_t m_last = 0;                      // where the sub-blocks end
    size_t m_stop = 0;                      // the terminator, or the end of the data block
    size_t m_total = 0;                     // bytes in all the sub-blocks
    size_t m_dropped = 0;                   // bytes dropped from the front so far
};

}  // namespace kvgif
