#include "gif/gif_lzw.h"

#include <algorithm>
#include <bit>
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
    // Where the next index goes; valid while Room() is above 0.
    unsigned char* Position() const { return m_out; }
    // Where the next index goes in the current run; null when it ends there.
    unsigned char* RunPosition() const { return m_out != m_runEnd ? m_out : nullptr; }
    // Sets up to count indices after the last one written back to 0, within the run.
    void ClearAhead(int count) {
        if (m_out != nullptr) {
            std::fill(m_out, m_out + std::min(count, Room()), 0);
        }
    }
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

// Strings up to a word long are copied as one word, with room for a word after
// them; longer strings at least kCopiedLength long are copied exactly.
constexpr int kWordLength = 8;
constexpr int kCopiedLength = 4;

// Every literal code's index (codes up to the largest clear code, 2048), and a
// word's slack: where a single index is copied from.
struct LiteralIndices {
    unsigned char bytes[2048 + kWordLength];
    constexpr LiteralIndices() : bytes() {
        for (int i = 0; i < 2048 + kWordLength; ++i) {
            bytes[i] = static_cast<unsigned char>(i);
        }
    }
};
constexpr LiteralIndices kLiterals;

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

// The length of a string one index longer than one of length (0: broken).
inline unsigned Extended(unsigned length) {
    return length + (length != 0);
}

// The inverse of Extended.
inline unsigned Shortened(unsigned length) {
    return length - (length != 0);
}

// An entry as one word, the fields from the low bits up, so that it is made with
// one store.
// Indices are the low 8 bits of last and first.
constexpr uint64_t PackEntry(unsigned prefix, unsigned length, unsigned last, unsigned first) {
    return uint64_t{prefix} | uint64_t{length} << 16 | uint64_t{last & 0xFF} << 32 |
           uint64_t{first & 0xFF} << 40;
}

static_assert(sizeof(StringEntry) == sizeof(uint64_t));

inline void StoreEntry(StringEntry& entry, uint64_t packed) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&entry, &packed, sizeof(packed));
    } else {
        entry = {static_cast<uint16_t>(packed), static_cast<uint16_t>(packed >> 16),
                 static_cast<uint8_t>(packed >> 32), static_cast<uint8_t>(packed >> 40)};
    }
}

// Grows the next free code, and the code size with it up to 12 bits. A full table
// makes every further entry in its spare slot.
inline void MadeEntry(unsigned& nextFree, int& codeSize, unsigned& mask) {
    if (++nextFree > mask) {
        if (codeSize < CodeReader::kMaxCodeSize) {
            ++codeSize;
            mask = mask * 2 + 1;
        } else {
            nextFree = kStringTableSize;
        }
    }
}

// For each byte index: the entry a single index leaves for the next code to finish
// (after a single index: its code, length 2, its first index), and the last-index
// field that finishes an entry. Looked up, not built, per code.
struct SingleIndexEntries {
    uint64_t pending[256];
    uint64_t last[256];
    constexpr SingleIndexEntries() : pending(), last() {
        for (unsigned i = 0; i < 256; ++i) {
            pending[i] = PackEntry(i, 2, 0, i);
            last[i] = PackEntry(0, 0, i, 0);
        }
    }
};
constexpr SingleIndexEntries kSingleIndexEntries;

// The run of single indices after two, the commonest codes in noisy pictures,
// taken while the code size stays, every code's bits are there and its index fits:
// each code is tested only for what it is. Stops before the first code that is not
// a single index, which the general loop reads again. For codes of byte indices,
// where a single index is its own code, and an image that is one run, where each
// string is written on from the one before.
inline void TakeSingles(CodeBits& bits, IndexSink& sink, StringEntry* table,
                        const unsigned char** source, unsigned& nextFree, unsigned mask, int size,
                        unsigned clear, uint64_t& pending, const unsigned char*& previousAt) {
    // Codes of byte indices are below 256: a single index's code is its byte.
    if (nextFree >= mask || clear > 256) {
        return;
    }
    unsigned count = std::min(mask - nextFree, static_cast<unsigned>(sink.Room()));
    if (bits.position + uint64_t{count} * static_cast<unsigned>(size) > bits.end) {
        count = static_cast<unsigned>((bits.end - bits.position) / static_cast<unsigned>(size));
    }
    const unsigned char* const bytes = bits.bytes;
    uint64_t position = bits.position;
    unsigned char* const out = sink.Position();
    StringEntry* const entries = table + nextFree;
    // Each entry's string is the one before it and the next index, so it starts
    // where that one was written. Set one ahead, into the spare slot at most.
    const unsigned char** const sources = source + nextFree;
    sources[0] = previousAt;
    uint64_t made = pending;
    unsigned taken = 0;
    for (; taken < count; ++taken) {
        uint64_t word;
        std::memcpy(&word, bytes + (position >> 3), sizeof(word));
        const unsigned code = static_cast<unsigned>(word >> (position & 7)) & mask;
        if (code >= clear) {
            break;
        }
        const unsigned index = static_cast<unsigned char>(code);
        position += static_cast<unsigned>(size);
        out[taken] = static_cast<unsigned char>(index);
        StoreEntry(entries[taken], made | kSingleIndexEntries.last[index]);
        sources[taken + 1] = out + taken;
        made = kSingleIndexEntries.pending[index];
    }
    if (taken > 0) {
        bits.position = position;
        sink.Claim(static_cast<int>(taken));
        nextFree += taken;
        pending = made;
        previousAt = out + taken - 1;
    }
}

// One function, so that the code position and the sink stay in registers. Codes
// come in epochs: the first code after a clear (or at the start of a stream without
// one) is written alone and makes no entry; every later code makes one.
// With kWhereWritten (the image is one run) strings are copied from where they were
// written before; otherwise only single indices are copied, from kLiterals. With
// kSingleRuns (also one run, and codes of byte indices) runs of single indices
// take a loop of their own; kept apart so that other images keep the loop as it
// was.
template <bool kWhereWritten, bool kSingleRuns>
LzwStatus DecodeCodes(int minimumCodeSize, StringEntry* table, CodeBytes& codes,
                      CodeBits& bitsState, IndexCursor& output) {
    CodeBits bits = bitsState;
    IndexSink sink(output);
    const unsigned clear = 1u << minimumCodeSize;
    const unsigned end = clear + 1;
    const unsigned firstFree = clear + 2;
    // Where each entry's string can be copied from; null for none.
    const unsigned char* source[kStringTableSlots];
    for (unsigned code = 0; code < firstFree; ++code) {
        table[code] = {0, 1, static_cast<uint8_t>(code), static_cast<uint8_t>(code)};
        source[code] = code < clear ? kLiterals.bytes + code : nullptr;
    }
    unsigned char scratch[kStringTableSize + 1];
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
        // The entry the next code makes, but for its last index: the previous code,
        // the length of its string extended by one, and its first index.
        uint64_t pending = PackEntry(code, code < firstFree ? 2 : 0, 0, code);
        // Where the previous string was written in one piece. The sink changes runs
        // only where a string or index does not fit, and those are not in one
        // piece, so a string in one piece that follows one in one piece follows on
        // from it: their entry is in one piece too.
        const unsigned char* previousAt = nullptr;
        // After an entry is stored: where its string can be copied from, where this
        // code's string was written, and the next free code.
        const auto Advance = [&](const unsigned char* entrySource, unsigned char* written) {
            source[nextFree] = entrySource;
            previousAt = kWhereWritten ? written : nullptr;
            MadeEntry(nextFree, codeSize, mask);
        };
        while (NextCode(codes, bits, code, codeSize, mask)) {
            unsigned char* const next = sink.RunPosition();
            if (code < clear && next != nullptr) {
                // The commonest case in noisy pictures: a single index.
                // Two single indices in a row start a run of them.
                const bool afterSingle = ((pending >> 16) & 0xFFFF) == 2;
                *next = static_cast<unsigned char>(code);
                sink.Claim(1);
                StoreEntry(table[nextFree], pending | PackEntry(0, 0, code, 0));
                Advance(previousAt, next);
                pending = PackEntry(code, 2, 0, code);
                if (kSingleRuns && afterSingle) {
                    TakeSingles(bits, sink, table, source, nextFree, mask, codeSize, clear, pending,
                                previousAt);
                }
                continue;
            }
            if (code < nextFree && sink.Room() >= kWordLength) {
                // The common case elsewhere: a made string of up to 8 indices,
                // copied as one word. The bytes past it are written over by the
                // codes after it.
                const unsigned char* const from = source[code];
                const StringEntry entry = table[code];
                if (from != nullptr && static_cast<unsigned>(entry.length - 1) < kWordLength) {
                    uint64_t word;
                    std::memcpy(&word, from, sizeof(word));
                    std::memcpy(next, &word, sizeof(word));
                    sink.Claim(entry.length);
                    StoreEntry(table[nextFree], pending | PackEntry(0, 0, entry.first, 0));
                    Advance(previousAt, next);
                    pending = PackEntry(code, entry.length + 1u, 0, entry.first);
                    continue;
                }
            }
            const unsigned previous = pending & 0xFFFF;
            unsigned previousLength = Shortened((pending >> 16) & 0xFFFF);
            const unsigned previousFirst = (pending >> 40) & 0xFF;
            unsigned first;
            unsigned char* written = nullptr;
            if (code < clear) {
                written = sink.RunPosition();
                sink.Put(static_cast<unsigned char>(code));
                first = code;
                StoreEntry(table[nextFree], pending | PackEntry(0, 0, first, 0));
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
                    StoreEntry(table[nextFree], PackEntry(previous, previousLength + 1,
                                                          previousFirst, previousFirst));
                }
                const unsigned string = known ? code : nextFree;
                const int length = table[string].length;
                if (length == 0) {
                    status = LzwStatus::kCorruptCode;
                    break;
                }
                if (length <= sink.Room()) {
                    written = sink.Claim(length);
                    if (known && length >= kCopiedLength && source[code] != nullptr) {
                        CopyString(written, source[code], length);
                    } else if (!known && length > kCopiedLength && previousAt != nullptr) {
                        CopyString(written, previousAt, length - 1);
                        written[length - 1] = static_cast<unsigned char>(previousFirst);
                    } else {
                        WriteString(table, string, written, length);
                    }
                } else {
                    WriteString(table, string, scratch, length);
                    sink = IndexSink::Written(sink, scratch, length);
                }
                first = table[string].first;
                if (known) {
                    StoreEntry(table[nextFree], pending | PackEntry(0, 0, first, 0));
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
                StoreEntry(table[nextFree], PackEntry(previous, 0, first, first));
                previousLength = 0;
            }
            // The new entry is the previous string and this one's first index.
            Advance(written != nullptr ? previousAt : nullptr, written);
            pending = PackEntry(code, Extended(previousLength), 0, first);
        }
    }
    // Whatever the last word copies wrote past the last index goes back to index 0.
    sink.ClearAhead(kWordLength);
    sink.WriteBack();
    bitsState = bits;
    return status;
}

}  // namespace

LzwStatus DecodeLzw(int minimumCodeSize, StringEntry* table, CodeBytes& codes, DataCursor& data,
                    IndexCursor& output) {
    CodeBits bits = codes.Start(data);
    // Runs of single indices are long only with large palettes (noise, grain);
    // with small ones the strings cover the common pairs early.
    const bool largePalette = minimumCodeSize >= 7 && minimumCodeSize <= 8;
    const LzwStatus status =
        !output.oneRun ? DecodeCodes<false, false>(minimumCodeSize, table, codes, bits, output)
        : largePalette ? DecodeCodes<true, true>(minimumCodeSize, table, codes, bits, output)
                       : DecodeCodes<true, false>(minimumCodeSize, table, codes, bits, output);
    data.pos = codes.PositionAfter(codes.Taken(bits), status == LzwStatus::kDataEnded);
    return status;
}

}  // namespace kvgif
