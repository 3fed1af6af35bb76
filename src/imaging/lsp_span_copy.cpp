#include "imaging/lsp_span_copy.h"

#include <cstring>

#include "platform/cpu_features.h"

// The masked copy is compiled for AVX-512 and picked at run time where the toolchain
// can; elsewhere (and under the address sanitizer, which would take a masked load
// for a whole-vector read) the portable copy alone.
#if KVPLATFORM_CPU_DISPATCH && !defined(__SANITIZE_ADDRESS__)
#define KVLSP_MASKED_COPY 1
#include <immintrin.h>
#else
#define KVLSP_MASKED_COPY 0
#endif

namespace lsp {
namespace {

// Spans are mostly a few dozen bytes: a handful of fixed-size moves, the last one
// overlapping its neighbour, costs less than a call per span.
inline void CopySpan(unsigned char* to, const unsigned char* from, size_t size) {
    if (size >= 16) {
        const size_t tail = size - 16;
        for (size_t at = 0; at < tail; at += 16) {
            std::memcpy(to + at, from + at, 16);
        }
        std::memcpy(to + tail, from + tail, 16);
    } else if (size >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size >= 2) {
        std::memcpy(to, from, 2);
        std::memcpy(to + size - 2, from + size - 2, 2);
    } else if (size == 1) {
        *to = *from;
    }
}

inline void CopyOneSpan(unsigned char* row, const SPAN* span) {
    CopySpan(row + span->begin, span->data, static_cast<size_t>(span->end - span->begin));
}

// Each row's list is a chain of dependent loads; walking two rows at once lets the
// two chains overlap. `copy` is inlined into each instantiation.
template <class Copy>
inline void CopyRowsPairwise(unsigned char* bits, SPAN* const* rowSpans, int rows, size_t pitch,
                             Copy copy) {
    int row = 0;
    for (; row + 1 < rows; row += 2) {
        unsigned char* upper = bits + static_cast<size_t>(row) * pitch;
        unsigned char* lower = upper + pitch;
        const SPAN* a = rowSpans[row];
        const SPAN* b = rowSpans[row + 1];
        for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
            copy(upper, a);
            copy(lower, b);
        }
        for (; a != nullptr; a = a->next) {
            copy(upper, a);
        }
        for (; b != nullptr; b = b->next) {
            copy(lower, b);
        }
    }
    if (row < rows) {
        for (const SPAN* a = rowSpans[row]; a != nullptr; a = a->next) {
            copy(bits + static_cast<size_t>(row) * pitch, a);
        }
    }
}

#if KVLSP_MASKED_COPY
// A span in whole 32-byte moves and one masked move for the rest: no branch on the
// size for spans up to 32 bytes, and masked lanes neither read nor write memory, so
// nothing outside the span is touched.
[[gnu::target("avx512bw,avx512vl,bmi2")]] inline void CopyOneSpanMasked(unsigned char* row,
                                                                        const SPAN* span) {
    unsigned char* to = row + span->begin;
    const unsigned char* from = span->data;
    unsigned size = static_cast<unsigned>(span->end - span->begin);
    for (; size > 32; size -= 32, to += 32, from += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to),
                            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from)));
    }
    const __mmask32 mask = _bzhi_u32(~0u, size);
    _mm256_mask_storeu_epi8(to, mask, _mm256_maskz_loadu_epi8(mask, from));
}

// Flattened, so that the walk and the copy become one AVX-512 loop.
[[gnu::target("avx512bw,avx512vl,bmi2"), gnu::flatten]] void CopyRowSpansMasked(
    unsigned char* bits, SPAN* const* rowSpans, int rows, size_t pitch) {
    CopyRowsPairwise(bits, rowSpans, rows, pitch, CopyOneSpanMasked);
}
#endif

}  // namespace

void CopyRowSpansPortable(unsigned char* bits, SPAN* const* rowSpans, int rows, size_t pitch) {
    CopyRowsPairwise(bits, rowSpans, rows, pitch, CopyOneSpan);
}

void CopyRowSpans(unsigned char* bits, SPAN* const* rowSpans, int rows, size_t pitch) {
#if KVLSP_MASKED_COPY
    if (kvplatform::CpuHasAvx512Bw()) {
        CopyRowSpansMasked(bits, rowSpans, rows, pitch);
        return;
    }
#endif
    CopyRowSpansPortable(bits, rowSpans, rows, pitch);
}

}  // namespace lsp
