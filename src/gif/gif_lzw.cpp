#include "gif/gif_lzw.h"

#include <algorithm>

namespace kvgif {
namespace {

constexpr int kMaxCodeSize = 12;

// The decoder's hot state lives in small objects held as locals whose addresses
// never escape, so index stores (unsigned char, which may alias anything) do not
// force it back to memory. The caller's cursor and reader are brought up to date
// only on the rare paths: a sub-block ends, a string leaves the row, decoding ends.

// Codes from the image data: a read pointer into the current sub-block and the
// bit buffer, which holds at most 7 bits between codes.
class CodeSource {
public:
    CodeSource(DataCursor& data, CodeReader& reader)
        : m_in(data.data + data.pos),
          m_blockEnd(m_in + (reader.subBlockSize - reader.subBlockUsed)),
          m_bits(reader.bitBuffer),
          m_codeSize(reader.codeSize),
          m_count(reader.bitCount),
          m_ended(reader.ended),
          m_data(data),
          m_reader(reader) {}

    bool Ended() const { return m_ended; }

    int CodeSize() const { return m_codeSize; }
    void SetCodeSize(int codeSize) { m_codeSize = codeSize; }

    unsigned Next() {
        while (m_count < m_codeSize) {
            m_bits |= static_cast<unsigned>(NextByte()) << m_count;
            m_count += 8;
        }
        const unsigned code = m_bits & ((1u << m_codeSize) - 1u);
        m_bits >>= m_codeSize;
        m_count -= m_codeSize;
        return code;
    }

    void WriteBack() {
        m_data.pos = static_cast<size_t>(m_in - m_data.data);
        m_reader.subBlockUsed = m_reader.subBlockSize - static_cast<int>(m_blockEnd - m_in);
        m_reader.bitBuffer = m_bits;
        m_reader.bitCount = m_count;
        m_reader.codeSize = m_codeSize;
    }

private:
    unsigned char NextByte() {
        if (m_in != m_blockEnd) {
            return *m_in++;
        }
        // The current sub-block is used up: let the reader open the next one.
        m_data.pos = static_cast<size_t>(m_in - m_data.data);
        m_reader.subBlockUsed = m_reader.subBlockSize;
        const unsigned char byte = NextSubBlockByte(m_data, m_reader);
        m_ended = m_reader.ended;
        m_in = m_data.data + m_data.pos;
        m_blockEnd = m_in + (m_reader.subBlockSize - m_reader.subBlockUsed);
        return byte;
    }

    const unsigned char* m_in;
    const unsigned char* m_blockEnd;
    unsigned m_bits;
    int m_codeSize;
    int m_count;
    bool m_ended;
    DataCursor& m_data;
    CodeReader& m_reader;
};

// Index output: a write pointer and the end of the current row (both null while
// the cursor is outside the rows), so a string that fits in the row is written
// with one bounds check.
class IndexSink {
public:
    explicit IndexSink(IndexCursor& cursor) : m_cursor(cursor) { Reload(); }

    // Indices that still fit in the current row.
    int Room() const { return static_cast<int>(m_rowEnd - m_out); }
    // Room for length indices, at most Room().
    unsigned char* Claim(int length) {
        unsigned char* const at = m_out;
        m_out += length;
        return at;
    }
    void Put(unsigned char index) {
        if (m_out != m_rowEnd) {
            *m_out++ = index;
            return;
        }
        WriteBack();
        PutIndexSlow(m_cursor, index);
        Reload();
    }

    void WriteBack() {
        if (m_cursor.rowStart != nullptr) {
            m_cursor.column = static_cast<int>(m_out - m_cursor.rowStart);
        }
    }

private:
    void Reload() {
        unsigned char* const row = m_cursor.rowStart;
        m_out = row != nullptr ? row + m_cursor.column : nullptr;
        m_rowEnd = row != nullptr ? row + m_cursor.width : nullptr;
    }

    unsigned char* m_out;
    unsigned char* m_rowEnd;
    IndexCursor& m_cursor;
};

// Writes count indices along the links after entry; returns the last entry.
unsigned WriteLinked(const StringEntry* table, unsigned entry, unsigned char* at, int count) {
    for (int i = 0; i < count; ++i) {
        entry = table[entry].link;
        at[i] = table[entry].last;
    }
    return entry;
}

// A string that does not fit in the current row: written row piece by row piece,
// index by index only where the cursor moves to another row.
void EmitAcrossRows(const StringEntry* table, unsigned entry, int length, IndexSink& sink) {
    sink.Put(static_cast<unsigned char>(entry));
    for (int left = length - 1; left > 0;) {
        const int count = std::min(sink.Room(), left);
        if (count == 0) {
            entry = table[entry].link;
            sink.Put(table[entry].last);
            --left;
        } else {
            entry = WriteLinked(table, entry, sink.Claim(count), count);
            left -= count;
        }
    }
}

// The string whose entries were linked last. Its links stay valid until another
// string is linked (adding entries and clearing leave links alone), so it can be
// emitted again, or extended by one entry, without walking its prefixes.
struct LinkedString {
    static constexpr unsigned kNone = kStringTableSize;
    unsigned code = kNone;
    unsigned bottom = 0;  // the single-index code the string starts with
    int length = 0;
};

// Links each entry of code's string to the entry after it; false for a broken
// prefix chain.
bool LinkString(StringEntry* table, unsigned firstFree, unsigned code, LinkedString& linked) {
    // Every step moves to a strictly smaller code, so the walk ends within
    // kStringTableSize steps.
    unsigned entry = code;
    int length = 1;
    while (entry >= firstFree) {
        const unsigned prefix = table[entry].prefix;
        if (prefix >= entry) {
            return false;
        }
        table[prefix].link = static_cast<uint16_t>(entry);
        entry = prefix;
        ++length;
    }
    linked = {code, entry, length};
    return true;
}

// Writes the linked string front to back; returns its first index.
unsigned char WriteString(const StringEntry* table, const LinkedString& linked, IndexSink& sink) {
    const unsigned char first = static_cast<unsigned char>(linked.bottom);
    if (linked.length <= sink.Room()) {
        unsigned char* const at = sink.Claim(linked.length);
        at[0] = first;
        WriteLinked(table, linked.bottom, at + 1, linked.length - 1);
    } else {
        EmitAcrossRows(table, linked.bottom, linked.length, sink);
    }
    return first;
}

// Writes code's string front to back through the link field; returns its first
// index, or -1 for a broken prefix chain.
int EmitString(StringEntry* table, unsigned firstFree, unsigned code, LinkedString& linked,
               IndexSink& sink) {
    if (code < firstFree) {
        const unsigned char index = static_cast<unsigned char>(code);
        sink.Put(index);
        linked = {code, code, 1};
        return index;
    }
    if (code != linked.code && !LinkString(table, firstFree, code, linked)) {
        return -1;
    }
    return WriteString(table, linked, sink);
}

// After the previous string plus its first index was written for code: when
// code becomes the entry for that string, it is linked as one entry longer.
void ExtendLinked(StringEntry* table, unsigned code, unsigned nextFree, LinkedString& linked) {
    if (code == nextFree && linked.code < code) {
        table[linked.code].link = static_cast<uint16_t>(code);
        linked = {code, linked.bottom, linked.length + 1};
    } else {
        linked.code = LinkedString::kNone;
    }
}

}  // namespace

const char* LzwStatusMessage(LzwStatus status) {
    switch (status) {
        case LzwStatus::kEndCode:
            return "end code";
        case LzwStatus::kDataEnded:
            return "image data ended before the end code";
        case LzwStatus::kCorruptCode:
            return "corrupt LZW code";
    }
    return "unknown LZW status";
}

// One function, so that the source and the sink stay in registers.
LzwStatus DecodeLzw(int minimumCodeSize, StringEntry* table, DataCursor& data, CodeReader& reader,
                    IndexCursor& output) {
    CodeSource source(data, reader);
    IndexSink sink(output);
    const unsigned clear = 1u << minimumCodeSize;
    const unsigned end = clear + 1;
    const unsigned firstFree = clear + 2;
    unsigned nextFree = firstFree;
    unsigned previous = 0;
    LinkedString linked;
    LzwStatus status = LzwStatus::kEndCode;
    unsigned code = source.Next();
    while (!source.Ended() && code != end) {
        if (code == clear) {
            source.SetCodeSize(minimumCodeSize + 1);
            nextFree = firstFree;
            code = source.Next();
            if (source.Ended()) {
                break;
            }
            if (code > firstFree) {
                status = LzwStatus::kCorruptCode;
                break;
            }
            sink.Put(static_cast<unsigned char>(code));
            linked = code < firstFree ? LinkedString{code, code, 1} : LinkedString{};
        } else {
            // A code not yet in the table is the previous string plus its own first index.
            const bool known = code < nextFree;
            const int first = EmitString(table, firstFree, known ? code : previous, linked, sink);
            if (first < 0) {
                status = LzwStatus::kCorruptCode;
                break;
            }
            if (!known) {
                sink.Put(static_cast<unsigned char>(first));
                ExtendLinked(table, code, nextFree, linked);
            }
            if (nextFree < kStringTableSize) {
                table[nextFree].prefix = static_cast<uint16_t>(previous);
                table[nextFree].last = static_cast<uint8_t>(first);
                ++nextFree;
                if (nextFree >= (1u << source.CodeSize()) && source.CodeSize() < kMaxCodeSize) {
                    source.SetCodeSize(source.CodeSize() + 1);
                }
            }
        }
        previous = code;
        code = source.Next();
    }
    if (status != LzwStatus::kCorruptCode && source.Ended()) {
        status = LzwStatus::kDataEnded;
    }
    source.WriteBack();
    sink.WriteBack();
    return status;
}

}  // namespace kvgif
