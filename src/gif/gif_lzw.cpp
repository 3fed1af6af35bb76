#include "gif/gif_lzw.h"

namespace kvgif {
namespace {

constexpr unsigned kMaxCodeSize = 12;

// The state lives in locals so that index stores (unsigned char, which may alias
// anything) do not force it back to memory on every pixel.
class LzwDecoder {
public:
    LzwDecoder(int minimumCodeSize, StringEntry* table, DataCursor& data, CodeReader& reader,
               IndexCursor& output)
        : m_table(table),
          m_clear(1u << minimumCodeSize),
          m_end(m_clear + 1),
          m_firstFree(m_clear + 2),
          m_data(data),
          m_reader(reader),
          m_output(output) {}

    LzwStatus Run() {
        unsigned nextFree = m_firstFree;
        unsigned previous = 0;
        unsigned code = NextCode(m_data, m_reader);
        while (!m_reader.ended && code != m_end) {
            if (code == m_clear) {
                m_reader.codeSize = m_reader.initCodeSize;
                nextFree = m_firstFree;
                code = NextCode(m_data, m_reader);
                if (m_reader.ended) {
                    break;
                }
                if (code > m_firstFree) {
                    return LzwStatus::kCorruptCode;
                }
                PutIndex(m_output, static_cast<unsigned char>(code));
                previous = code;
            } else {
                // A code not yet in the table is the previous string plus its own first index.
                const bool known = code < nextFree;
                int first = Emit(known ? code : previous);
                if (first < 0) {
                    return LzwStatus::kCorruptCode;
                }
                if (!known) {
                    PutIndex(m_output, static_cast<unsigned char>(first));
                }
                if (nextFree < kStringTableSize) {
                    m_table[nextFree].prefix = static_cast<uint16_t>(previous);
                    m_table[nextFree].last = static_cast<uint8_t>(first);
                    ++nextFree;
                    if (nextFree >= (1u << m_reader.codeSize) &&
                        m_reader.codeSize < static_cast<int>(kMaxCodeSize)) {
                        ++m_reader.codeSize;
                    }
                }
                previous = code;
            }
            code = NextCode(m_data, m_reader);
        }
        return m_reader.ended ? LzwStatus::kDataEnded : LzwStatus::kEndCode;
    }

private:
    // Writes code's string front to back; returns its first index, or -1 for a
    // broken prefix chain.
    int Emit(unsigned code) {
        // Locals: index stores may alias anything reached through this.
        StringEntry* const table = m_table;
        const unsigned firstFree = m_firstFree;
        // Links each entry's prefix to it. Every step moves to a strictly smaller
        // code, so the walk ends within kStringTableSize steps.
        unsigned entry = code;
        int length = 1;
        while (entry >= firstFree) {
            const unsigned prefix = table[entry].prefix;
            if (prefix >= entry) {
                return -1;
            }
            table[prefix].link = static_cast<uint16_t>(entry);
            entry = prefix;
            ++length;
        }
        const unsigned char first = static_cast<unsigned char>(entry);
        IndexCursor& out = m_output;
        if (out.rowStart != nullptr && length <= out.width - out.column) {
            // The whole string fits in the current row.
            unsigned char* at = out.rowStart + out.column;
            out.column += length;
            *at++ = first;
            while (entry != code) {
                entry = table[entry].link;
                *at++ = table[entry].last;
            }
            return first;
        }
        PutIndex(out, first);
        while (entry != code) {
            entry = table[entry].link;
            PutIndex(out, table[entry].last);
        }
        return first;
    }

    StringEntry* const m_table;
    const unsigned m_clear;
    const unsigned m_end;
    const unsigned m_firstFree;
    DataCursor& m_data;
    CodeReader& m_reader;
    IndexCursor& m_output;
};

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

LzwStatus DecodeLzw(int minimumCodeSize, StringEntry* table, DataCursor& data, CodeReader& reader,
                    IndexCursor& output) {
    // Work on copies held in locals; write them back for the caller.
    DataCursor localData = data;
    CodeReader localReader = reader;
    IndexCursor localOutput = output;
    const LzwStatus status =
        LzwDecoder(minimumCodeSize, table, localData, localReader, localOutput).Run();
    data = localData;
    reader = localReader;
    output = localOutput;
    return status;
}

}  // namespace kvgif
