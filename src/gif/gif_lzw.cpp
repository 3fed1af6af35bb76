#include "gif/gif_lzw.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kvgif {
namespace {

// Index output in registers: a write pointer and the end of its stored run in the
// row (both null while indices are dropped), so a string that fits is written with
// one bounds check. The cursor is brought up to date when the run ends.
class IndexSink {
public:
    explicit IndexSink(IndexCursor& cursor) : m_cursor(&cursor) { Reload(); }

    // Indices that still fit in the current run.
    int Room() const { return static_cast<int>(m_runEnd - m_out); }
    // Where the next index goes in the current run; null when it ends there.
    unsigned char* RunPosition() const { return m_out != m_runEnd ? m_out : nullptr; }
    // Room for length indices, at most Room().
    unsigned char* Claim(int length) {
        unsigned char* const at = m_out;
        m_out += length;
        return at;
    }
    void Put(unsigned char index) {
        if (m_out != m_runEnd) {
            *m_out++ = index;
            return;
        }
        WriteBack();
        m_cursor->Put(index);
        Reload();
    }
    // The sink after bytes that may cross runs and rows. By value, so that the
    // sink's address never escapes and the LZW loop keeps it in registers.
    static IndexSink Written(IndexSink sink, const unsigned char* bytes, int count) {
        while (count > 0) {
            const int run = std::min(sink.Room(), count);
            if (run == 0) {
                sink.Put(*bytes++);
                --count;
            } else {
                std::copy(bytes, bytes + run, sink.Claim(run));
                bytes += run;
                count -= run;
            }
        }
        return sink;
    }

    void WriteBack() {
        if (m_out != nullptr) {
            m_cursor->WroteUpTo(m_out);
        }
    }

private:
    void Reload() {
        m_out = m_cursor->Next();
        m_runEnd = m_cursor->RunEnd();
    }

    unsigned char* m_out;
    unsigned char* m_runEnd;
    IndexCursor* m_cursor;
};

// Writes the string of a valid entry (length > 0) back to front from at.
inline void WriteString(const StringEntry* table, unsigned code, unsigned char* at, int length) {
    for (int i = length - 1; i > 0; --i) {
        at[i] = table[code].last;
        code = table[code].prefix;
    }
    at[0] = static_cast<unsigned char>(code);
}

// Strings at least this long are copied from where they were written before.
constexpr int kCopiedLength = 4;
// No copy of the string is known.
constexpr uint32_t kNowhere = UINT32_MAX;

// Copies a string of at least kCopiedLength indices from where it was written
// before. The two never overlap: from holds indices written by earlier codes, to
// the places no code has reached yet.
inline void CopyString(unsigned char* to, const unsigned char* from, int length) {
    if (length < 8) {
        uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + length - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + length - 4, &tail, 4);
        return;
    }
    uint64_t word;
    for (int i = 0; i + 8 < length; i += 8) {
        std::memcpy(&word, from + i, 8);
        std::memcpy(to + i, &word, 8);
    }
    std::memcpy(&word, from + length - 8, 8);
    std::memcpy(to + length - 8, &word, 8);
}

// The string of any code, walked through whatever its entries hold (entries of an
// earlier table, or zeros, when the code was not made since the last clear); its
// length, or -1 for a broken prefix chain. Every step moves to a strictly smaller
// code, so at most kStringTableSize steps.
int WalkString(const StringEntry* table, unsigned firstFree, unsigned code,
               unsigned char (&out)[kStringTableSize + 1]) {
    int at = kStringTableSize;
    while (code >= firstFree) {
        const unsigned prefix = table[code].prefix;
        if (prefix >= code) {
            return -1;
        }
        out[at--] = table[code].last;
        code = prefix;
    }
    out[at] = static_cast<unsigned char>(code);
    const int length = kStringTableSize + 1 - at;
    std::copy(out + at, out + kStringTableSize + 1, out);
    return length;
}

// The next code, gathering more bytes when the ones there are used up.
inline bool NextCode(CodeBytes& codes, CodeBits& bits, unsigned& code, int size, unsigned mask) {
    if (bits.Next(code, size, mask)) {
        return true;
    }
    bits = codes.Refilled(bits);
    return bits.Next(code, size, mask);
}

// One function, so that the code position and the sink stay in registers. Codes
// come in epochs: the first code after a clear (or at the start of a stream without
// one) is written alone and makes no entry; every later code makes one.
LzwStatus DecodeCodes(int minimumCodeSize, StringEntry* table, CodeBytes& codes,
                      CodeBits& bitsState, IndexCursor& output) {
    CodeBits bits = bitsState;
    IndexSink sink(output);
    const unsigned clear = 1u << minimumCodeSize;
    const unsigned end = clear + 1;
    const unsigned firstFree = clear + 2;
    for (unsigned code = 0; code < firstFree; ++code) {
        table[code] = {0, 1, static_cast<uint8_t>(code), static_cast<uint8_t>(code)};
    }
    unsigned char scratch[kStringTableSize + 1];
    // Where each entry's string was last written in one piece, from base.
    uint32_t where[kStringTableSlots];
    const unsigned char* const base = output.indices;
    LzwStatus status = LzwStatus::kDataEnded;
    int codeSize = minimumCodeSize + 1;
    unsigned code;
    if (!NextCode(codes, bits, code, codeSize, (1u << codeSize) - 1)) {
        return bitsState = bits, sink.WriteBack(), status;
    }
    if (code == end) {
        status = LzwStatus::kEndCode;
    }
    bool startEpoch = code != end;
    bool readFirst = code == clear;
    while (startEpoch) {
        startEpoch = false;
        codeSize = minimumCodeSize + 1;
        unsigned mask = (1u << codeSize) - 1;
        if (readFirst && !NextCode(codes, bits, code, codeSize, mask)) {
            break;
        }
        if (code > firstFree) {
            status = LzwStatus::kCorruptCode;
            break;
        }
        sink.Put(static_cast<unsigned char>(code));
        unsigned nextFree = firstFree;
        unsigned previous = code;
        unsigned previousLength = code < firstFree ? 1 : 0;
        unsigned previousFirst = code & 0xFF;
        // Where the previous string was written in one piece, from base. The
        // sink changes runs only where a string or index does not fit, and those
        // are not in one piece, so a string in one piece that follows one in one
        // piece follows on from it.
        uint32_t previousWhere = kNowhere;
        while (NextCode(codes, bits, code, codeSize, mask)) {
            unsigned first;
            uint32_t written = kNowhere;
            if (code < clear) {
                unsigned char* const at = sink.RunPosition();
                if (at != nullptr) {
                    *sink.Claim(1) = static_cast<unsigned char>(code);
                    written = static_cast<uint32_t>(at - base);
                } else {
                    sink.Put(static_cast<unsigned char>(code));
                }
                first = code;
                table[nextFree] = {static_cast<uint16_t>(previous),
                                   static_cast<uint16_t>(previousLength + (previousLength != 0)),
                                   static_cast<uint8_t>(first),
                                   static_cast<uint8_t>(previousFirst)};
                previousLength = 1;
            } else if (code < firstFree) {
                if (code == end) {
                    status = LzwStatus::kEndCode;
                } else {
                    startEpoch = readFirst = true;
                }
                break;
            } else if (code < nextFree || previousLength != 0) {
                // A code not yet in the table is the previous string plus its own
                // first index: that string is the entry made now.
                const bool known = code < nextFree;
                if (!known) {
                    table[nextFree] = {
                        static_cast<uint16_t>(previous), static_cast<uint16_t>(previousLength + 1),
                        static_cast<uint8_t>(previousFirst), static_cast<uint8_t>(previousFirst)};
                }
                const unsigned string = known ? code : nextFree;
                const int length = table[string].length;
                if (length == 0) {
                    status = LzwStatus::kCorruptCode;
                    break;
                }
                if (length <= sink.Room()) {
                    unsigned char* const at = sink.Claim(length);
                    written = static_cast<uint32_t>(at - base);
                    if (known && length >= kCopiedLength && where[code] != kNowhere) {
                        CopyString(at, base + where[code], length);
                    } else if (!known && length > kCopiedLength && previousWhere != kNowhere) {
                        CopyString(at, base + previousWhere, length - 1);
                        at[length - 1] = static_cast<unsigned char>(previousFirst);
                    } else {
                        WriteString(table, string, at, length);
                    }
                } else {
                    WriteString(table, string, scratch, length);
                    sink = IndexSink::Written(sink, scratch, length);
                }
                first = table[string].first;
                if (known) {
                    table[nextFree] = {
                        static_cast<uint16_t>(previous),
                        static_cast<uint16_t>(previousLength + (previousLength != 0)),
                        static_cast<uint8_t>(first), static_cast<uint8_t>(previousFirst)};
                }
                // A code above the next free one names no entry: strings made on
                // it are broken.
                previousLength = code <= nextFree ? length : 0;
            } else {
                // The previous code was never made: its string is whatever its
                // entry holds.
                const int length = WalkString(table, firstFree, previous, scratch);
                if (length < 0) {
                    status = LzwStatus::kCorruptCode;
                    break;
                }
                first = scratch[0];
                scratch[length] = scratch[0];
                sink = IndexSink::Written(sink, scratch, length + 1);
                table[nextFree] = {static_cast<uint16_t>(previous), 0, static_cast<uint8_t>(first),
                                   static_cast<uint8_t>(first)};
                previousLength = 0;
            }
            // The new entry is the previous string and this one's first index.
            where[nextFree] = written != kNowhere ? previousWhere : kNowhere;
            previousWhere = written;
            if (nextFree < kStringTableSize && ++nextFree > mask &&
                codeSize < CodeReader::kMaxCodeSize) {
                ++codeSize;
                mask = mask * 2 + 1;
            }
            previous = code;
            previousFirst = first;
        }
    }
    sink.WriteBack();
    bitsState = bits;
    return status;
}

}  // namespace

LzwStatus DecodeLzw(int minimumCodeSize, StringEntry* table, CodeBytes& codes, DataCursor& data,
                    IndexCursor& output) {
    CodeBits bits = codes.Start(data);
    const LzwStatus status = DecodeCodes(minimumCodeSize, table, codes, bits, output);
    data.pos = codes.PositionAfter(codes.Taken(bits), status == LzwStatus::kDataEnded);
    return status;
}

}  // namespace kvgif
