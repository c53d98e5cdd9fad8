#include "base/utf8_scan.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "base/avx2.h"
#include "base/utf8_codec.h"

namespace trawlex {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::uint64_t Load8(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The place in `word`, read from memory, of its first byte that is not ASCII; `high`, the
// word's high bits, is not 0.
std::size_t FirstHighByte(std::uint64_t high) {
    if constexpr (std::endian::native == std::endian::little) {
        return static_cast<std::size_t>(__builtin_ctzll(high)) / 8;
    } else {
        return static_cast<std::size_t>(__builtin_clzll(high)) / 8;
    }
}

// Skips ASCII 16 bytes at a time; returns the first byte that is not ASCII, or `end`. The
// last few bytes of a text of 8 or more are read as the 8 bytes that end it, of which those
// before `p` are known to be ASCII.
const unsigned char* SkipAscii(const unsigned char* p, const unsigned char* end) {
    const unsigned char* const begin = p;
    while (end - p >= 16) {
        if (((Load8(p) | Load8(p + 8)) & kHighBits) != 0) break;
        p += 16;
    }
    for (; end - p >= 8; p += 8) {
        if (const std::uint64_t high = Load8(p) & kHighBits) return p + FirstHighByte(high);
    }
    if (p == end) return end;
    if (end - begin >= 8) {
        const std::uint64_t high = Load8(end - 8) & kHighBits;
        return high ? end - 8 + FirstHighByte(high) : end;
    }
    while (p < end && *p < 0x80) ++p;
    return p;
}

#if defined(TRAWLEX_HAVE_AVX2_PATH)
// The classification of two adjacent bytes by three table lookups (the first byte's high
// and low nibble, the second byte's high nibble): each bit names one way the pair can be
// wrong, and a pair is wrong where all three lookups hold the same bit.
constexpr std::uint8_t kTooShort = 1 << 0;      // a lead byte not followed by a continuation
constexpr std::uint8_t kTooLong = 1 << 1;       // ASCII followed by a continuation
constexpr std::uint8_t kOverlong3 = 1 << 2;     // E0 80-9F
constexpr std::uint8_t kTooLarge = 1 << 3;      // F4 90-BF, F5-FF 90-BF
constexpr std::uint8_t kSurrogate = 1 << 4;     // ED A0-BF
constexpr std::uint8_t kOverlong2 = 1 << 5;     // C0-C1 any continuation
constexpr std::uint8_t kTooLarge1000 = 1 << 6;  // F5-FF 80-8F
constexpr std::uint8_t kOverlong4 = 1 << 6;     // F0 80-8F
constexpr std::uint8_t kTwoConts = 1 << 7;      // a continuation after a continuation: allowed
                                                // only where a three- or four-byte lead wants it
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoConts;

TRAWLEX_AVX2_TARGET __m256i Table(std::uint8_t a0, std::uint8_t a1, std::uint8_t a2,
                                  std::uint8_t a3, std::uint8_t a4, std::uint8_t a5,
                                  std::uint8_t a6, std::uint8_t a7, std::uint8_t a8,
                                  std::uint8_t a9, std::uint8_t a10, std::uint8_t a11,
                                  std::uint8_t a12, std::uint8_t a13, std::uint8_t a14,
                                  std::uint8_t a15) {
    return _mm256_setr_epi8(static_cast<char>(a0), static_cast<char>(a1), static_cast<char>(a2),
                            static_cast<char>(a3), static_cast<char>(a4), static_cast<char>(a5),
                            static_cast<char>(a6), static_cast<char>(a7), static_cast<char>(a8),
                            static_cast<char>(a9), static_cast<char>(a10), static_cast<char>(a11),
                            static_cast<char>(a12), static_cast<char>(a13), static_cast<char>(a14),
                            static_cast<char>(a15), static_cast<char>(a0), static_cast<char>(a1),
                            static_cast<char>(a2), static_cast<char>(a3), static_cast<char>(a4),
                            static_cast<char>(a5), static_cast<char>(a6), static_cast<char>(a7),
                            static_cast<char>(a8), static_cast<char>(a9), static_cast<char>(a10),
                            static_cast<char>(a11), static_cast<char>(a12), static_cast<char>(a13),
                            static_cast<char>(a14), static_cast<char>(a15));
}

class Avx2Checker {
  public:
    TRAWLEX_AVX2_TARGET Avx2Checker()
        : first_high_(Table(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
                            kTooLong, kTwoConts, kTwoConts, kTwoConts, kTwoConts,
                            kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
                            kTooShort | kTooLarge | kTooLarge1000 | kOverlong4)),
          first_low_(Table(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2,
                           kCarry, kCarry, kCarry | kTooLarge, kCarry | kTooLarge | kTooLarge1000,
                           kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                           kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                           kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                           kCarry | kTooLarge | kTooLarge1000,
                           kCarry | kTooLarge | kTooLarge1000 | kSurrogate,
                           kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000)),
          second_high_(
              Table(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
                    kTooShort,
                    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4,
                    kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge,
                    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
                    kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge, kTooShort,
                    kTooShort, kTooShort, kTooShort)),
          errors_(_mm256_setzero_si256()),
          previous_(_mm256_setzero_si256()),
          highest_(_mm256_setzero_si256()) {}

    // Tests the next 32 bytes; the bytes before the first block count as ASCII.
    TRAWLEX_AVX2_TARGET void Add(__m256i input) {
        const __m256i nibble = _mm256_set1_epi8(0x0F);
        // The bytes one, two and three places back, across the block boundary.
        const __m256i joined = _mm256_permute2x128_si256(previous_, input, 0x21);
        const __m256i prev1 = _mm256_alignr_epi8(input, joined, 15);
        const __m256i prev2 = _mm256_alignr_epi8(input, joined, 14);
        const __m256i prev3 = _mm256_alignr_epi8(input, joined, 13);
        const __m256i high1 = _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble);
        const __m256i low1 = _mm256_and_si256(prev1, nibble);
        const __m256i high2 = _mm256_and_si256(_mm256_srli_epi16(input, 4), nibble);
        const __m256i special =
            _mm256_and_si256(_mm256_and_si256(_mm256_shuffle_epi8(first_high_, high1),
                                              _mm256_shuffle_epi8(first_low_, low1)),
                             _mm256_shuffle_epi8(second_high_, high2));
        // Bit 7 set where the byte must be the third or fourth of a sequence.
        const __m256i third =
            _mm256_subs_epu8(prev2, _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
        const __m256i fourth =
            _mm256_subs_epu8(prev3, _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
        const __m256i wanted = _mm256_and_si256(_mm256_or_si256(third, fourth),
                                                _mm256_set1_epi8(static_cast<char>(0x80)));
        errors_ = _mm256_or_si256(errors_, _mm256_xor_si256(wanted, special));
        highest_ = _mm256_max_epu8(highest_, input);
        previous_ = input;
    }

    TRAWLEX_AVX2_TARGET bool Failed() const { return !_mm256_testz_si256(errors_, errors_); }

    // Whether any byte so far is 0xE0 or above: in valid UTF-8 the lead of a three- or
    // four-byte sequence.
    TRAWLEX_AVX2_TARGET bool SawLongLead() const {
        const __m256i below =
            _mm256_cmpeq_epi8(_mm256_max_epu8(highest_, _mm256_set1_epi8(static_cast<char>(0xDF))),
                              _mm256_set1_epi8(static_cast<char>(0xDF)));
        return _mm256_movemask_epi8(below) != -1;
    }

  private:
    __m256i first_high_;
    __m256i first_low_;
    __m256i second_high_;
    __m256i errors_;
    __m256i previous_;
    __m256i highest_;
};

TRAWLEX_AVX2_TARGET Utf8Scan ScanUtf8Avx2(std::string_view bytes) {
    Avx2Checker checker;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    // Blocks are tested four at a time before the errors are looked at, so that a text
    // that is not UTF-8 is given up on soon.
    while (end - p >= 128) {
        for (int i = 0; i < 4; ++i, p += 32) {
            checker.Add(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        }
        if (checker.Failed()) return {false, false};
    }
    while (end - p >= 32) {
        checker.Add(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        p += 32;
    }
    // The rest, padded with ASCII (all of it ASCII when nothing is left): a sequence cut
    // off by the end meets ASCII in this block and fails as one cut off inside the text does.
    alignas(32) char last[32] = {};
    if (end > p) std::memcpy(last, p, static_cast<std::size_t>(end - p));
    checker.Add(_mm256_load_si256(reinterpret_cast<const __m256i*>(last)));
    if (checker.Failed()) return {false, false};
    return {true, checker.SawLongLead()};
}

// SkipAscii over the whole blocks of 32 bytes from `p`, 64 at a time: the first byte that
// is not ASCII, or where the blocks end.
TRAWLEX_AVX2_TARGET const unsigned char* SkipAsciiAvx2(const unsigned char* p,
                                                       const unsigned char* end) {
    while (end - p >= 64) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
        if (_mm256_movemask_epi8(_mm256_or_si256(a, b)) != 0) break;
        p += 64;
    }
    for (; end - p >= 32; p += 32) {
        const auto high = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))));
        if (high != 0) return p + __builtin_ctz(high);
    }
    return p;
}
#endif

}  // namespace

std::size_t AsciiPrefixLength(std::string_view bytes) {
    const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = begin + bytes.size();
    const unsigned char* p = begin;
#if defined(TRAWLEX_HAVE_AVX2_PATH)
    // Short texts (most lines) are not worth the wider loop.
    if (bytes.size() >= 64 && HasAvx2()) {
        p = SkipAsciiAvx2(p, end);
        if (p < end && *p >= 0x80) return static_cast<std::size_t>(p - begin);
    }
#endif
    return static_cast<std::size_t>(SkipAscii(p, end) - begin);
}

Utf8Scan ScanUtf8Bytewise(std::string_view bytes) {
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    Utf8Scan scan;
    while ((p = SkipAscii(p, end)) < end) {
        const std::string_view rest(reinterpret_cast<const char*>(p),
                                    static_cast<std::size_t>(end - p));
        std::size_t n = 0;
        if (utf8::Next(rest, n) >= utf8::kInvalidByteBase) return {false, false};
        scan.long_sequence = scan.long_sequence || n >= 3;
        p += n;
    }
    return scan;
}

Utf8Scan ScanUtf8(std::string_view bytes) {
#if defined(TRAWLEX_HAVE_AVX2_PATH)
    if (HasAvx2()) return ScanUtf8Avx2(bytes);
#endif
    return ScanUtf8Bytewise(bytes);
}

}  // namespace trawlex
