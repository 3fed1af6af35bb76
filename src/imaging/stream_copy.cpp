#include "imaging/stream_copy.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define KV_STREAM_STORES 1
#endif

namespace kvimaging {

#if defined(KV_STREAM_STORES)

void StreamCopy(void* to, const void* from, size_t bytes) {
    auto* target = static_cast<unsigned char*>(to);
    const auto* source = static_cast<const unsigned char*>(from);
    // Streaming stores need 16-byte aligned targets; the ends go through memcpy.
    const size_t head = std::min(bytes, (16 - reinterpret_cast<uintptr_t>(target) % 16) % 16);
    std::memcpy(target, source, head);
    target += head, source += head, bytes -= head;
    for (; bytes >= 64; bytes -= 64, target += 64, source += 64) {
        const auto* in = reinterpret_cast<const __m128i*>(source);
        auto* out = reinterpret_cast<__m128i*>(target);
        const __m128i a = _mm_loadu_si128(in), b = _mm_loadu_si128(in + 1);
        const __m128i c = _mm_loadu_si128(in + 2), d = _mm_loadu_si128(in + 3);
        _mm_stream_si128(out, a);
        _mm_stream_si128(out + 1, b);
        _mm_stream_si128(out + 2, c);
        _mm_stream_si128(out + 3, d);
    }
    std::memcpy(target, source, bytes);
    // Streamed stores are weakly ordered: make them visible before anything after.
    _mm_sfence();
}

#else

void StreamCopy(void* to, const void* from, size_t bytes) {
    std::memcpy(to, from, bytes);
}

#endif

}  // namespace kvimaging
