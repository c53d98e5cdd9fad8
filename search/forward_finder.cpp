#include "search/forward_finder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "base/avx2.h"

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

// The two needle bytes to filter on: the rarest and the next rarest (the same for one byte).
std::pair<std::size_t, std::size_t> WorkOutRarestPair(std::string_view needle) {
    const auto commonness = [&](std::size_t i) {
        return Commonness(static_cast<unsigned char>(needle[i]));
    };
    std::size_t first = 0;
    for (std::size_t i = 1; i < needle.size(); ++i) {
        if (commonness(i) <= commonness(first)) first = i;
    }
    std::size_t second = first;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (i != first && (second == first || commonness(i) <= commonness(second))) second = i;
    }
    return {first, second};
}

// WorkOutRarestPair, remembered for the last few needles: a search asks for the same ones
// file after file.
std::pair<std::size_t, std::size_t> RarestPair(std::string_view needle) {
    struct Known {
        std::string needle;
        std::pair<std::size_t, std::size_t> pair;
    };
    constexpr std::size_t kKept = 4;
    thread_local std::array<Known, kKept> known;
    thread_local std::size_t next = 0;
    thread_local std::size_t filled = 0;
    for (std::size_t i = 0; i < filled; ++i) {
        if (known[i].needle == needle) return known[i].pair;
    }
    Known& slot = known[next];
    next = (next + 1) % kKept;
    filled = std::max(filled, next == 0 ? kKept : next);
    slot.needle.assign(needle);
    slot.pair = WorkOutRarestPair(needle);
    return slot.pair;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool SameBytes(const char* at, std::string_view needle, bool caseless) {
    if (!caseless) return std::memcmp(at, needle.data(), needle.size()) == 0;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (LowerAscii(at[i]) != needle[i]) return false;
    }
    return true;
}

#if defined(TRAWLEX_HAVE_AVX2_PATH)
// FindNeedle's filter 32 places at a time, from `p` while all 32 places fit before `last`.
// Returns the hit, or null with `p` moved to where the narrower loops go on.
TRAWLEX_AVX2_TARGET const char* FindNeedleAvx2(const char*& p, const char* last,
                                               std::string_view needle,
                                               std::pair<std::size_t, std::size_t> pair,
                                               bool caseless, char a_upper, char b_upper) {
    const auto [r1, r2] = pair;
    const __m256i va1 = _mm256_set1_epi8(needle[r1]);
    const __m256i va2 = _mm256_set1_epi8(a_upper);
    const __m256i vb1 = _mm256_set1_epi8(needle[r2]);
    const __m256i vb2 = _mm256_set1_epi8(b_upper);
    while (last - p >= 31) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + r1));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + r2));
        const __m256i hit_a = _mm256_or_si256(_mm256_cmpeq_epi8(a, va1), _mm256_cmpeq_epi8(a, va2));
        const __m256i hit_b = _mm256_or_si256(_mm256_cmpeq_epi8(b, vb1), _mm256_cmpeq_epi8(b, vb2));
        auto bits = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(hit_a, hit_b)));
        while (bits != 0) {
            const char* const at = p + __builtin_ctz(bits);
            if (SameBytes(at, needle, caseless)) return at;
            bits &= bits - 1;
        }
        p += 32;
    }
    return nullptr;
}
#endif

// The first place at or after `from` where `needle` stands in `text`. Candidate places are
// those with the two chosen needle bytes at their offsets, 16 places at a time; `caseless`
// lets ASCII letters match in either case (the needle is lower case then).
std::size_t FindNeedle(std::string_view text, std::string_view needle,
                       std::pair<std::size_t, std::size_t> pair, bool caseless, std::size_t from) {
    const std::size_t n = needle.size();
    if (from > text.size() || n > text.size() - from) return kNoHit;
    if (n == 0) return from;
    const char* const base = text.data();
    const char* p = base + from;
    const char* const last = base + (text.size() - n);  // the last possible place
    const auto [r1, r2] = pair;
    const char a_lower = needle[r1];
    const char a_upper = caseless ? UpperAscii(a_lower) : a_lower;
    const char b_lower = needle[r2];
    const char b_upper = caseless ? UpperAscii(b_lower) : b_lower;
#if defined(TRAWLEX_HAVE_AVX2_PATH)
    if (HasAvx2()) {
        const char* hit = FindNeedleAvx2(p, last, needle, pair, caseless, a_upper, b_upper);
        if (hit) return static_cast<std::size_t>(hit - base);
    }
#endif
#if defined(__SSE2__)
    const __m128i va1 = _mm_set1_epi8(a_lower);
    const __m128i va2 = _mm_set1_epi8(a_upper);
    const __m128i vb1 = _mm_set1_epi8(b_lower);
    const __m128i vb2 = _mm_set1_epi8(b_upper);
    while (last - p >= 15) {  // 16 places, whose bytes all lie inside the text
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + r1));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + r2));
        const __m128i hit_a = _mm_or_si128(_mm_cmpeq_epi8(a, va1), _mm_cmpeq_epi8(a, va2));
        const __m128i hit_b = _mm_or_si128(_mm_cmpeq_epi8(b, vb1), _mm_cmpeq_epi8(b, vb2));
        auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(hit_a, hit_b)));
        while (bits != 0) {
            const char* const at = p + __builtin_ctz(bits);
            if (SameBytes(at, needle, caseless)) return static_cast<std::size_t>(at - base);
            bits &= bits - 1;
        }
        p += 16;
    }
#endif
    for (; p <= last; ++p) {
        const char a = p[r1];
        const char b = p[r2];
        if ((a == a_lower || a == a_upper) && (b == b_lower || b == b_upper) &&
            SameBytes(p, needle, caseless)) {
            return static_cast<std::size_t>(p - base);
        }
    }
    return kNoHit;
}

bool AnyNeedleAt(const std::vector<std::string>& needles, const char* at, const char* end) {
    const auto room = static_cast<std::size_t>(end - at);
    for (const std::string& needle : needles) {
        if (needle.size() <= room && std::memcmp(at, needle.data(), needle.size()) == 0) {
            return true;
        }
    }
    return false;
}

constexpr std::size_t kMaxFilteredNeedles = 8;

#if defined(TRAWLEX_HAVE_AVX2_PATH)
// AnyBytesSearch's filter 32 places at a time; like FindNeedleAvx2.
TRAWLEX_AVX2_TARGET const char* FindAnyAvx2(
    const char*& p, const char* end, const std::vector<std::string>& needles,
    const std::vector<std::pair<std::size_t, std::size_t>>& pairs, std::size_t longest) {
    __m256i first[kMaxFilteredNeedles];
    __m256i second[kMaxFilteredNeedles];
    for (std::size_t i = 0; i < needles.size(); ++i) {
        first[i] = _mm256_set1_epi8(needles[i][pairs[i].first]);
        second[i] = _mm256_set1_epi8(needles[i][pairs[i].second]);
    }
    while (static_cast<std::size_t>(end - p) >= longest + 31) {
        __m256i hits = _mm256_setzero_si256();
        for (std::size_t i = 0; i < needles.size(); ++i) {
            const auto* a = reinterpret_cast<const __m256i*>(p + pairs[i].first);
            const auto* b = reinterpret_cast<const __m256i*>(p + pairs[i].second);
            hits = _mm256_or_si256(
                hits, _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(a), first[i]),
                                       _mm256_cmpeq_epi8(_mm256_loadu_si256(b), second[i])));
        }
        auto bits = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        while (bits != 0) {
            const char* const at = p + __builtin_ctz(bits);
            if (AnyNeedleAt(needles, at, end)) return at;
            bits &= bits - 1;
        }
        p += 32;
    }
    return nullptr;
}

// The same filter when every needle filters on the same two offsets and holds the same byte
// at the second ("End Sub", "End Function", "End Property"): two loads for all needles.
TRAWLEX_AVX2_TARGET const char* FindAnySharedAvx2(const char*& p, const char* end,
                                                  const std::vector<std::string>& needles,
                                                  std::pair<std::size_t, std::size_t> offsets,
                                                  std::size_t longest) {
    __m256i first[kMaxFilteredNeedles];
    for (std::size_t i = 0; i < needles.size(); ++i) {
        first[i] = _mm256_set1_epi8(needles[i][offsets.first]);
    }
    const __m256i shared = _mm256_set1_epi8(needles[0][offsets.second]);
    while (static_cast<std::size_t>(end - p) >= longest + 31) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + offsets.first));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + offsets.second));
        __m256i any_first = _mm256_cmpeq_epi8(a, first[0]);
        for (std::size_t i = 1; i < needles.size(); ++i) {
            any_first = _mm256_or_si256(any_first, _mm256_cmpeq_epi8(a, first[i]));
        }
        auto bits = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_and_si256(any_first, _mm256_cmpeq_epi8(b, shared))));
        while (bits != 0) {
            const char* const at = p + __builtin_ctz(bits);
            if (AnyNeedleAt(needles, at, end)) return at;
            bits &= bits - 1;
        }
        p += 32;
    }
    return nullptr;
}
#endif

}  // namespace

BytesSearch::BytesSearch(std::string_view text, std::string needle)
    : text_(text), needle_(std::move(needle)), pair_(RarestPair(needle_)) {}

std::size_t BytesSearch::operator()(std::size_t from) const {
    return FindNeedle(text_, needle_, pair_, false, from);
}

AsciiCaselessSearch::AsciiCaselessSearch(std::string_view text, std::string lower_needle)
    : text_(text), needle_(std::move(lower_needle)), pair_(RarestPair(needle_)) {}

std::size_t AsciiCaselessSearch::operator()(std::size_t from) const {
    return FindNeedle(text_, needle_, pair_, true, from);
}

bool AsciiCaselessSearch::At(std::size_t at) const {
    return at <= text_.size() && needle_.size() <= text_.size() - at &&
           SameBytes(text_.data() + at, needle_, true);
}

NeedleSet::NeedleSet(std::vector<std::string> strings) : needles(std::move(strings)) {
    shortest = needles.empty() ? 0 : needles.front().size();
    for (const std::string& needle : needles) {
        shortest = std::min(shortest, needle.size());
        longest = std::max(longest, needle.size());
        pairs.push_back(RarestPair(needle));
    }
    shared_second = !needles.empty();
    for (std::size_t i = 0; i < needles.size(); ++i) {
        shared_second = shared_second && pairs[i] == pairs[0] &&
                        needles[i][pairs[i].second] == needles[0][pairs[0].second];
    }
}

AnyBytesSearch::AnyBytesSearch(std::string_view text, std::vector<std::string> needles)
    : text_(text), set_(std::make_shared<const NeedleSet>(std::move(needles))) {}

AnyBytesSearch::AnyBytesSearch(std::string_view text, std::shared_ptr<const NeedleSet> needles)
    : text_(text), set_(std::move(needles)) {}

std::size_t AnyBytesSearch::operator()(std::size_t from) const {
    const NeedleSet& set = *set_;
    if (set.needles.empty() || set.shortest == 0 || from > text_.size() ||
        set.shortest > text_.size() - from) {
        return kNoHit;
    }
    const char* const base = text_.data();
    const char* const end = base + text_.size();
    const char* p = base + from;
    const auto match_at = [&](const char* at) { return AnyNeedleAt(set.needles, at, end); };
#if defined(TRAWLEX_HAVE_AVX2_PATH)
    if (set.needles.size() <= kMaxFilteredNeedles && HasAvx2()) {
        const char* hit = set.shared_second
                              ? FindAnySharedAvx2(p, end, set.needles, set.pairs[0], set.longest)
                              : FindAnyAvx2(p, end, set.needles, set.pairs, set.longest);
        if (hit) return static_cast<std::size_t>(hit - base);
    }
#endif
#if defined(__SSE2__)
    // Places holding some needle's two rarest bytes at their offsets, 16 places at a time,
    // while every needle's bytes for all 16 places lie inside the text.
    constexpr std::size_t kMaxNeedles = kMaxFilteredNeedles;
    if (set.needles.size() <= kMaxNeedles) {
        __m128i first[kMaxNeedles];
        __m128i second[kMaxNeedles];
        for (std::size_t i = 0; i < set.needles.size(); ++i) {
            first[i] = _mm_set1_epi8(set.needles[i][set.pairs[i].first]);
            second[i] = _mm_set1_epi8(set.needles[i][set.pairs[i].second]);
        }
        while (static_cast<std::size_t>(end - p) >= set.longest + 15) {
            __m128i hits = _mm_setzero_si128();
            for (std::size_t i = 0; i < set.needles.size(); ++i) {
                const auto* a = reinterpret_cast<const __m128i*>(p + set.pairs[i].first);
                const auto* b = reinterpret_cast<const __m128i*>(p + set.pairs[i].second);
                hits = _mm_or_si128(hits,
                                    _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(a), first[i]),
                                                  _mm_cmpeq_epi8(_mm_loadu_si128(b), second[i])));
            }
            auto bits = static_cast<unsigned>(_mm_movemask_epi8(hits));
            while (bits != 0) {
                const char* const at = p + __builtin_ctz(bits);
                if (match_at(at)) return static_cast<std::size_t>(at - base);
                bits &= bits - 1;
            }
            p += 16;
        }
    }
#endif
    for (; static_cast<std::size_t>(end - p) >= set.shortest; ++p) {
        if (match_at(p)) return static_cast<std::size_t>(p - base);
    }
    return kNoHit;
}

}  // namespace trawlex
