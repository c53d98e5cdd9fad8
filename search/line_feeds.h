#pragma once
// Counting line feeds, 32 or 16 bytes at a time.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/avx2.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlex {

#if TRAWLEX_HAVE_AVX2_PATH
// The line feeds in the whole blocks of 32 bytes from `p`, which it moves past them.
TRAWLEX_AVX2_TARGET inline std::size_t CountLineFeedsAvx2(const char*& p, std::size_t& n) {
    std::size_t count = 0;
    const __m256i lf = _mm256_set1_epi8('\n');
    while (n >= 32) {
        // Byte counters take at most 255 blocks before they are summed.
        const std::size_t blocks = std::min<std::size_t>(n / 32, 255);
        __m256i counters = _mm256_setzero_si256();
        for (std::size_t i = 0; i < blocks; ++i) {
            const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
            counters = _mm256_sub_epi8(counters, _mm256_cmpeq_epi8(chunk, lf));
            p += 32;
        }
        const __m256i sums = _mm256_sad_epu8(counters, _mm256_setzero_si256());
        count += static_cast<std::size_t>(_mm256_extract_epi64(sums, 0)) +
                 static_cast<std::size_t>(_mm256_extract_epi64(sums, 1)) +
                 static_cast<std::size_t>(_mm256_extract_epi64(sums, 2)) +
                 static_cast<std::size_t>(_mm256_extract_epi64(sums, 3));
        n -= blocks * 32;
    }
    return count;
}
#endif

inline std::size_t CountLineFeeds(const char* p, std::size_t n) {
    std::size_t count = 0;
#if TRAWLEX_HAVE_AVX2_PATH
    if (n >= 32 && HasAvx2()) count += CountLineFeedsAvx2(p, n);
#endif
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
