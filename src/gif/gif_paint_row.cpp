#include "gif/gif_paint_row.h"

#include "platform/cpu_features.h"

#if KVPLATFORM_CPU_DISPATCH
#include <immintrin.h>
#define KVGIF_WIDE_PAINT 1
#endif

namespace kvgif {

// Branch-free: kept indices come in runs of any length.
void PaintRowPortable(const unsigned char* source, uint16_t* target, int count,
                      const Palette& palette, int kept) {
    if (kept == kKeepNone) {
        for (int i = 0; i < count; ++i) {
            target[i] = palette[source[i]];
        }
        return;
    }
    for (int i = 0; i < count; ++i) {
        const unsigned char index = source[i];
        const uint16_t keep = index == kept ? 0xFFFF : 0;
        target[i] = static_cast<uint16_t>((target[i] & keep) | (palette[index] & ~keep));
    }
}

#ifdef KVGIF_WIDE_PAINT

bool WidePaintAvailable() {
    return kvplatform::CpuHasAvx512Bw();
}

// The palette sits in eight registers of 32 pixels; each pair is looked up with the
// low six bits of the index, and bits 6 and 7 pick the pair. 32 pixels a step, the
// last step masked.
__attribute__((target("avx512bw,avx512vl"))) void PaintRowWide(const unsigned char* source,
                                                               uint16_t* target, int count,
                                                               const Palette& palette, int kept) {
    __m512i table[8];
    for (int t = 0; t < 8; ++t) {
        table[t] = _mm512_loadu_si512(palette.data() + 32 * t);
    }
    const __m512i bit6 = _mm512_set1_epi16(0x40);
    const __m512i bit7 = _mm512_set1_epi16(0x80);
    const __m512i keptIndex = _mm512_set1_epi16(static_cast<short>(kept));
    for (int i = 0; i < count; i += 32) {
        const int left = count - i;
        const __mmask32 lanes = left >= 32 ? ~__mmask32{0} : (__mmask32{1} << left) - 1;
        const __m512i index = _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(lanes, source + i));
        const __m512i low = _mm512_permutex2var_epi16(table[0], index, table[1]);
        const __m512i midLow = _mm512_permutex2var_epi16(table[2], index, table[3]);
        const __m512i midHigh = _mm512_permutex2var_epi16(table[4], index, table[5]);
        const __m512i high = _mm512_permutex2var_epi16(table[6], index, table[7]);
        const __mmask32 upperHalf = _mm512_test_epi16_mask(index, bit6);
        const __m512i lower = _mm512_mask_blend_epi16(upperHalf, low, midLow);
        const __m512i upper = _mm512_mask_blend_epi16(upperHalf, midHigh, high);
        const __m512i pixels =
            _mm512_mask_blend_epi16(_mm512_test_epi16_mask(index, bit7), lower, upper);
        const __mmask32 painted = lanes & ~_mm512_cmpeq_epi16_mask(index, keptIndex);
        _mm512_mask_storeu_epi16(target + i, painted, pixels);
    }
}

#else

bool WidePaintAvailable() {
    return false;
}

void PaintRowWide(const unsigned char* source, uint16_t* target, int count, const Palette& palette,
                  int kept) {
    PaintRowPortable(source, target, count, palette, kept);
}

#endif

void PaintRow(const unsigned char* source, uint16_t* target, int count, const Palette& palette,
              int kept) {
    if (WidePaintAvailable()) {
        PaintRowWide(source, target, count, palette, kept);
    } else {
        PaintRowPortable(source, target, count, palette, kept);
    }
}

}  // namespace kvgif
