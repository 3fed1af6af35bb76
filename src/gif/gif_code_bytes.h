// An image's LZW code bytes gathered out of their sub-blocks into one run, so the
// decoder reads every code with one unaligned load and no sub-block test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "gif/gif_stream.h"

namespace kvgif {

class CodeBytes {
public:
    // Bytes readable past the end of the run, all zero.
    static constexpr size_t kPadding = 8;

    // Gathers the sub-blocks from the cursor's position up to the terminator, the
    // end of the data block or a sub-block cut off by it; false when out of memory.
    // The buffer is kept for the next image.
    bool Gather(const DataCursor& cursor);

    const unsigned char* Data() const { return m_bytes.get(); }
    size_t Size() const { return m_size; }

    // Where the cursor stands after the decoder took bits bits: just past the last
    // byte a code used; when the codes ran out (ended), at the terminator or the end
    // of the data block, less the whole bytes a code was still waiting for.
    size_t PositionAfter(uint64_t bits, bool ended) const;

private:
    std::unique_ptr<unsigned char[]> m_bytes;
    size_t m_capacity = 0;
    size_t m_size = 0;
    const unsigned char* m_data = nullptr;  // the data block of the last Gather
    size_t m_start = 0;                     // the first size byte
    size_t m_stop = 0;                      // the terminator, or the end of the data block
};

// Codes read least significant bit first from gathered bytes; the position and the
// code size live in the LZW loop's registers.
struct CodeBits {
    const unsigned char* bytes;
    uint64_t position;  // bits taken
    uint64_t end;       // bits there are

    // The next code of size bits (mask: its low size bits set); false, with
    // nothing taken, when fewer bits remain.
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

}  // namespace kvgif
