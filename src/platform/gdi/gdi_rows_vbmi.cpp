#include "platform/gdi/gdi_rows_vbmi.h"

#include "platform/cpu_features.h"

// Not under the address sanitizer, which would take the masked loads at a row's end
// for whole-vector reads.
#if KVPLATFORM_CPU_DISPATCH && !defined(__SANITIZE_ADDRESS__)
#define KVGDI_VBMI 1
#include <immintrin.h>
#if !defined(__clang__)
// GCC 12 takes the intrinsics' deliberately undefined pass-through vectors for
// uninitialised variables.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#else
#define KVGDI_VBMI 0
#endif

namespace kvgdi {
namespace {

#if KVGDI_VBMI
#define KVGDI_VBMI_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,bmi2")))

// Sixteen 5-5-5 pixels to 0x00RRGGBB. Widened to one pixel per 32-bit lane, one
// multishift puts each channel's five bits at the top of its byte (B from bit -3, so
// the bits below it are the lane pair's zero high half; G from bit 2, R from bit 7);
// the bits below G and R are masked off and each channel's top three bits copied
// into them, as (v << 3) | (v >> 2) does.
KVGDI_VBMI_TARGET inline __m512i Widen16(__m256i pixels) {
    const __m512i lanes = _mm512_cvtepu16_epi32(pixels);
    const __m512i offsets = _mm512_set1_epi64(0x0027221D0007023DLL);
    const __m512i high =
        _mm512_and_si512(_mm512_multishift_epi64_epi8(offsets, lanes), _mm512_set1_epi32(0xF8F8F8));
    // high | ((high >> 5) & 0x070707)
    return _mm512_ternarylogic_epi32(high, _mm512_srli_epi32(high, 5), _mm512_set1_epi32(0x070707),
                                     0xF8);
}

// Sixteen pixels at a time; the last group reads and writes only the pixels there are.
template <class Store>
KVGDI_VBMI_TARGET inline void EachGroup(uint8_t* to, const uint8_t* from, int count, Store store) {
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        store(to + 4 * i, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + 2 * i)),
              static_cast<__mmask16>(0xFFFF));
    }
    if (i < count) {
        const auto rest =
            static_cast<__mmask16>(_bzhi_u32(0xFFFF, static_cast<unsigned>(count - i)));
        store(to + 4 * i, _mm256_maskz_loadu_epi16(rest, from + 2 * i), rest);
    }
}

KVGDI_VBMI_TARGET void composite_src_555_8888_vbmi(uint8_t* to, const uint8_t* from, int count,
                                                   COLORREF) {
    EachGroup(to, from, count, [](uint8_t* out, __m256i pixels, __mmask16 valid) KVGDI_VBMI_TARGET {
        _mm512_mask_storeu_epi32(out, valid, Widen16(pixels));
    });
}

// Pixels equal to the key on their fifteen colour bits (KeyPixel555 decides which
// pixel that is, if any) are left out of the store's mask: the destination keeps them.
KVGDI_VBMI_TARGET void composite_keyed_555_8888_vbmi(uint8_t* to, const uint8_t* from, int count,
                                                     COLORREF key) {
    const __m256i keyPixel = _mm256_set1_epi16(static_cast<short>(KeyPixel555(key)));
    const __m256i colourBits = _mm256_set1_epi16(0x7FFF);
    EachGroup(
        to, from, count, [=](uint8_t* out, __m256i pixels, __mmask16 valid) KVGDI_VBMI_TARGET {
            const __mmask16 keyed =
                _mm256_cmpeq_epi16_mask(_mm256_and_si256(pixels, colourBits), keyPixel);
            _mm512_mask_storeu_epi32(out, valid & static_cast<__mmask16>(~keyed), Widen16(pixels));
        });
}

constexpr RowPath kVbmiRowPaths[] = {
    {"composite_src_555_8888_vbmi", PixelFormat::Rgb555, PixelFormat::Xrgb8888, RowOperation::Copy,
     composite_src_555_8888_vbmi},
    {"composite_keyed_555_8888_vbmi", PixelFormat::Rgb555, PixelFormat::Xrgb8888,
     RowOperation::Keyed, composite_keyed_555_8888_vbmi},
};

#endif

}  // namespace

std::span<const RowPath> VbmiRowPaths() {
#if KVGDI_VBMI
    if (kvplatform::CpuHasAvx512Vbmi()) {
        return kVbmiRowPaths;
    }
#endif
    return {};
}

}  // namespace kvgdi
