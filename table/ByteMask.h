#pragma once
// Where given bytes stand among 64 bytes, one bit for each byte, found with vector instructions
// (SSE2, which every x86-64 has): the readers then find each line or field end with a count of
// zeros instead of a look at every byte. Qt-free.

#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tablor {

// One bit for each of the 64 bytes at p that equals one of `wanted`; bit i is byte p[i].
template <class... Bytes> std::uint64_t bytesAmong(const char* p, Bytes... wanted) {
    std::uint64_t bits = 0;
#if defined(__SSE2__)
    for (int i = 0; i < 4; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        __m128i hit = _mm_setzero_si128();
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(char(wanted))))), ...);
        bits |= std::uint64_t(std::uint32_t(_mm_movemask_epi8(hit))) << (16 * i);
    }
#else
    for (int i = 0; i < 64; ++i)
        bits |= std::uint64_t(((p[i] == char(wanted)) || ...)) << i;
#endif
    return bits;
}

} // namespace tablor
