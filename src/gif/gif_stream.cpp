#include "gif/gif_stream.h"

namespace kvgif {

unsigned char NextSubBlockByte(DataCursor& cursor, CodeReader& reader) {
    if (cursor.pos >= cursor.length) {
        reader.ended = true;
        return 0xFF;
    }
    const unsigned size = cursor.data[cursor.pos];
    if (size == 0) {
        // Stay on the terminator: the caller skips it once the image is done.
        reader.ended = true;
        return 0xFF;
    }
    if (size > cursor.length - cursor.pos - 1) {
        // A sub-block cut off by the end of the file: nothing after it can be a block.
        cursor.pos = cursor.length;
        reader.ended = true;
        return 0xFF;
    }
    ++cursor.pos;
    reader.subBlockSize = static_cast<int>(size);
    reader.subBlockUsed = 1;
    return cursor.data[cursor.pos++];
}

}  // namespace kvgif
