// Reading a GIF's image data: the data block cursor, the sub-block byte reader and
// the LSB-first code reader. Inline because the LZW loop calls them per code.
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

// LZW reader state of one image. The bit buffer holds at most 7 bits between codes.
struct CodeReader {
    int codeSize = 0;
    unsigned bitBuffer = 0;
    int bitCount = 0;
    int subBlockSize = 0;
    int subBlockUsed = 0;
    // Set once the data ran out before the end code (a zero-length sub-block or
    // the end of the data block); every further read gives 0xFF.
    bool ended = false;

    void Start(int codeBits) {
        *this = CodeReader{};
        codeSize = codeBits;
    }
};

// Opens the next sub-block when the current one is used up.
unsigned char NextSubBlockByte(DataCursor& cursor, CodeReader& reader);

inline unsigned char NextDataByte(DataCursor& cursor, CodeReader& reader) {
    if (reader.subBlockUsed < reader.subBlockSize) {
        // The whole sub-block was checked to lie inside the data when it was opened.
        ++reader.subBlockUsed;
        return cursor.data[cursor.pos++];
    }
    return NextSubBlockByte(cursor, reader);
}

// Codes are packed least significant bit first; at most two bytes are taken.
inline unsigned short NextCode(DataCursor& cursor, CodeReader& reader) {
    unsigned bits = reader.bitBuffer;
    int count = reader.bitCount;
    while (count < reader.codeSize) {
        bits |= static_cast<unsigned>(NextDataByte(cursor, reader)) << count;
        count += 8;
    }
    const unsigned code = bits & ((1u << reader.codeSize) - 1u);
    reader.bitBuffer = bits >> reader.codeSize;
    reader.bitCount = count - reader.codeSize;
    return static_cast<unsigned short>(code);
}

}  // namespace kvgif
