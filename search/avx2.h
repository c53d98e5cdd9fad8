#pragma once
// Wider loops for the byte searches where the processor has AVX2: functions marked
// TRAWLEX_AVX2_TARGET are compiled for it and called only when HasAvx2().

#if defined(__x86_64__) && defined(__GNUC__)
#define TRAWLEX_HAVE_AVX2_PATH 1
#include <immintrin.h>
#define TRAWLEX_AVX2_TARGET __attribute__((target("avx2")))

namespace trawlex {

inline bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

}  // namespace trawlex
#endif
