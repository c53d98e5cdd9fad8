#pragma once
// Wider loops for the byte searches and scans where the processor has AVX2: functions marked
// TRAWLEX_AVX2_TARGET are compiled for it and called only when HasAvx2(). Setting the
// environment variable TRAWLEX_NO_AVX2 keeps to the narrower loops (their tests use it).

#if defined(__x86_64__) && defined(__GNUC__)
#define TRAWLEX_HAVE_AVX2_PATH 1
#include <immintrin.h>

#include <cstdlib>
#define TRAWLEX_AVX2_TARGET __attribute__((target("avx2")))

namespace trawlex {

inline bool HasAvx2() {
    static const bool has =
        __builtin_cpu_supports("avx2") && std::getenv("TRAWLEX_NO_AVX2") == nullptr;
    return has;
}

}  // namespace trawlex
#endif
