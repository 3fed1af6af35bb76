// Reading a GIF's data block: the block cursor, and the code reader over an
// image's sub-blocks that GetByte and GetCode use byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvgif {

// The data block (every byte after the header and global colour table) and the
// read position in it. No read or skip goes past length.
struct DataCursor {
    const unsigned char* data = nullptr;
    size_t length = 0;
    size_t pos = 0;

    size_t Remaining() const { return pos < length ? length - pos : 0; }
    // Points at the next n bytes and consumes them; false (nothing consumed) when
    // fewer remain.
    bool Take(size_t n, const unsigned char*& bytes) {
        if (n > Remaining()) {
            return false;
        }
        bytes = data + pos;
        pos += n;
        return true;
    }
    bool Skip(size_t n) {
        const unsigned char* ignored;
        return Take(n, ignored);
    }
};

// Codes packed least significant bit first into data sub-blocks.
class CodeReader {
public:
    static constexpr int kMaxCodeSize = 12;

    // Reads sub-blocks from the cursor's position with codes of codeBits bits.
    void Start(const DataCursor& cursor, int codeBits);

    // The next byte of the sub-blocks, crossing into the next one.
    unsigned char Byte() { return m_in != m_blockEnd ? *m_in++ : NextBlockByte(); }

    // The next code; false, with nothing taken, when the data ends before it.
    bool Code(unsigned& code);

private:
    unsigned char NextBlockByte();

    const unsigned char* m_in = nullptr;
    const unsigned char* m_blockEnd = nullptr;
    const unsigned char* m_end = nullptr;
    uint64_t m_bits = 0;
    int m_count = 0;
    int m_codeSize = 0;
    // Set once the data ran out (a zero-length sub-block or the end of the data
    // block); every further byte is 0xFF.
    bool m_ended = false;
};

}  // namespace kvgif
