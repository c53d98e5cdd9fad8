#pragma once
// Counting line feeds, 16 bytes at a time.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlex {

inline std::size_t CountLineFeeds(const char* p, std::size_t n) {
    std::size_t count = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    while (n >= 16) {
        // Byte counters take at most 255 blocks before they are summed.
        const std::size_t blocks = std::min<std::size_t>(n / 16, 255);
        __m128i counters = _mm_setzero_si128();
        for (std::size_t i = 0; i < blocks; ++i) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(chunk, lf));
            p += 16;
        }
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
        n -= blocks * 16;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) count += p[i] == '\n';
    return count;
}

}  // namespace trawlex
