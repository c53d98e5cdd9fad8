#include "search/forward_finder.h"

#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlex {
namespace {

// How common a byte is in VB source with Japanese comments (UTF-8); higher is more common.
int Commonness(unsigned char b) {
    static constexpr std::string_view kLetters = "etaoinsrhldcumfpgwybvkxjqz";
    if (b == ' ') return 255;
    if (b >= 'a' && b <= 'z') return 200 - 4 * static_cast<int>(kLetters.find(b));
    if (b >= 'A' && b <= 'Z') return 120 - 3 * static_cast<int>(kLetters.find(b - 'A' + 'a'));
    if (b >= '0' && b <= '9') return 100;
    if (b == '\r' || b == '\n' || b == '\t') return 180;
    if (b == 0xE3) return 190;               // kana and Japanese punctuation
    if (b >= 0xE4 && b <= 0xE9) return 150;  // common kanji
    if (b >= 0x80 && b <= 0xBF) return 160;  // continuation bytes
    if (std::string_view("()\".,=_&'").find(static_cast<char>(b)) != std::string_view::npos) {
        return 140;
    }
    return 60;
}

std::size_t RarestByte(std::string_view needle) {
    std::size_t rare = 0;
    for (std::size_t i = 1; i < needle.size(); ++i) {
        if (Commonness(static_cast<unsigned char>(needle[i])) <=
            Commonness(static_cast<unsigned char>(needle[rare]))) {
            rare = i;
        }
    }
    return rare;
}

// The first byte in [p, end) that equals `a` or `b`, or nullptr.
const char* FindEither(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    while (end - p >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int bits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, va), _mm_cmpeq_epi8(chunk, vb)));
        if (bits != 0) return p + __builtin_ctz(static_cast<unsigned>(bits));
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        if (*p == a || *p == b) return p;
    }
    return nullptr;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

BytesSearch::BytesSearch(std::string_view text, std::string needle)
    : text_(text), needle_(std::move(needle)), rare_(RarestByte(needle_)) {}

std::size_t BytesSearch::operator()(std::size_t from) const {
    const std::size_t n = needle_.size();
    if (from > text_.size() || n > text_.size() - from) return kNoHit;
    if (n == 0) return from;
    const char* const base = text_.data();
    const char* p = base + from + rare_;
    const char* const last = base + (text_.size() - n) + rare_;  // last place for the rare byte
    const char rare = needle_[rare_];
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, rare, static_cast<std::size_t>(last - p) + 1));
        if (p == nullptr) return kNoHit;
        if (std::memcmp(p - rare_, needle_.data(), n) == 0) {
            return static_cast<std::size_t>(p - rare_ - base);
        }
        ++p;
    }
    return kNoHit;
}

AsciiCaselessSearch::AsciiCaselessSearch(std::string_view text, std::string lower_needle)
    : text_(text), needle_(std::move(lower_needle)), rare_(RarestByte(needle_)) {}

std::size_t AsciiCaselessSearch::operator()(std::size_t from) const {
    const std::size_t n = needle_.size();
    if (from > text_.size() || n > text_.size() - from) return kNoHit;
    if (n == 0) return from;
    const char* const base = text_.data();
    const char* p = base + from + rare_;
    const char* const end = base + (text_.size() - n) + rare_ + 1;  // past the last place
    const char lower = needle_[rare_];
    const char upper = (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - 32) : lower;
    while ((p = FindEither(p, end, lower, upper)) != nullptr) {
        const char* const start = p - rare_;
        std::size_t i = 0;
        while (i < n && LowerAscii(start[i]) == needle_[i]) ++i;
        if (i == n) return static_cast<std::size_t>(start - base);
        ++p;
    }
    return kNoHit;
}

}  // namespace trawlex
