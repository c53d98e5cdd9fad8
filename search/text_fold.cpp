#include "search/text_fold.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <utility>

#include "base/utf8_codec.h"
#include "search/kana_tables.h"

namespace trawlex {
namespace {

struct FoldPair {
    char32_t from;
    char32_t to;
};
constexpr FoldPair kCaseFold[] = {
#include "search/case_fold_table.inc"
};

char32_t CaseFold(char32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp >= 0x3000 && cp < 0xA000) return cp;  // kana and kanji have no case
    // Most code points (all CJK) sit on 256-code-point pages without any mapping.
    static const std::bitset<0x1100> pages = [] {
        std::bitset<0x1100> bits;
        for (const FoldPair& pair : kCaseFold) bits.set(pair.from >> 8);
        return bits;
    }();
    if (cp > 0x10FFFF || !pages.test(cp >> 8)) return cp;
    const auto* it = std::lower_bound(std::begin(kCaseFold), std::end(kCaseFold), cp,
                                      [](const FoldPair& p, char32_t c) { return p.from < c; });
    return (it != std::end(kCaseFold) && it->from == cp) ? it->to : cp;
}

// VB's LCase lower-cases letters; it does not fold. Case folding also maps characters that
// are not capital letters (long s, final sigma, Greek symbol forms, micro sign, Cherokee
// small letters, Cyrillic historic forms) and the letterlike symbols Kelvin, Ohm and
// Angstrom; LCase leaves all of these as they are.
bool LowerCaseKeeps(char32_t cp) {
    switch (cp) {
        case 0xB5:   // micro sign
        case 0x17F:  // long s
        case 0x345:  // combining ypogegrammeni
        case 0x3C2:  // final sigma
        case 0x3D0:  // Greek symbols: beta, theta, phi, pi
        case 0x3D1:
        case 0x3D5:
        case 0x3D6:
        case 0x3F0:  // kappa, rho, lunate epsilon symbols
        case 0x3F1:
        case 0x3F5:
        case 0x1E9B:  // long s with dot above
        case 0x1FBE:  // Greek prosgegrammeni
        case 0x2126:  // Ohm sign
        case 0x212A:  // Kelvin sign
        case 0x212B:  // Angstrom sign
            return true;
        default:
            break;
    }
    return (cp >= 0x13F8 && cp <= 0x13FD) || (cp >= 0x1C80 && cp <= 0x1C88) ||
           (cp >= 0xAB70 && cp <= 0xABBF);
}

char32_t LowerCase(char32_t cp) {
    return LowerCaseKeeps(cp) ? cp : CaseFold(cp);
}

char* Put(char* w, char32_t cp) {
    if (cp < 0x80) {
        *w++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *w++ = static_cast<char>(0xC0 | (cp >> 6));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *w++ = static_cast<char>(0xE0 | (cp >> 12));
        *w++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp <= 0x10FFFF) {
        *w++ = static_cast<char>(0xF0 | (cp >> 18));
        *w++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *w++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *w++ = static_cast<char>(cp - utf8::kInvalidByteBase);  // an invalid byte, as it was
    }
    return w;
}

// Lower-cases eight ASCII bytes at once.
std::uint64_t LowerAscii8(std::uint64_t w) {
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    const std::uint64_t beyond_z = w + 0x2525252525252525ULL;  // high bit set when > 'Z'
    const std::uint64_t from_a = w + 0x3F3F3F3F3F3F3F3FULL;    // high bit set when >= 'A'
    const std::uint64_t upper = (from_a ^ beyond_z) & kHigh;
    return w | (upper >> 2);
}

// U+4000-9FFF (most kanji) at text[pos]: no folding changes or joins these.
bool IsCommonKanji(std::string_view text, std::size_t pos) {
    if (text.size() - pos < 3) return false;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    const auto third = static_cast<unsigned char>(text[pos + 2]);
    return (second & 0xC0) == 0x80 && (third & 0xC0) == 0x80;
}

// Runs `fold_one` over every non-ASCII code point of `text`; ASCII is lower-cased and
// common kanji are copied on fast paths. `fold_one(text, pos, w)` reads one code point at pos,
// advances pos, writes at most twice its input length and returns the new write position.
template <typename FoldOne>
void FoldText(std::string_view text, std::string& out, FoldOne fold_one) {
    out.clear();
    constexpr std::size_t kChunk = 1 << 16;
    // Most text folds to its own length: room for that at once spares a huge text the
    // copies (and the doubled memory) of growing step by step.
    if (text.size() > kChunk) out.reserve(text.size() + 2 * kChunk + 8);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t chunk_end = std::min(text.size(), pos + kChunk);
        const std::size_t start = out.size();
        out.resize(start + 2 * (chunk_end - pos) + 8);
        char* const base = out.data();
        char* w = base + start;
        while (pos < chunk_end) {
            if (chunk_end - pos >= 8) {
                std::uint64_t word;
                std::memcpy(&word, text.data() + pos, 8);
                if ((word & 0x8080808080808080ULL) == 0) {
                    word = LowerAscii8(word);
                    std::memcpy(w, &word, 8);
                    w += 8;
                    pos += 8;
                    continue;
                }
            }
            const auto byte = static_cast<unsigned char>(text[pos]);
            if (byte < 0x80) {
                *w++ = static_cast<char>(CaseFold(byte));
                ++pos;
            } else if (byte >= 0xE4 && byte <= 0xE9 && IsCommonKanji(text, pos)) {
                std::memcpy(w, text.data() + pos, 3);
                w += 3;
                pos += 3;
            } else {
                w = fold_one(text, pos, w);  // may read a little past chunk_end
            }
        }
        out.resize(static_cast<std::size_t>(w - base));
    }
}

constexpr bool IsVoicedMark(char32_t cp) {
    return cp == 0xFF9E || cp == 0x3099;
}
constexpr bool IsSemiVoicedMark(char32_t cp) {
    return cp == 0xFF9F || cp == 0x309A;
}

inline char* FoldOneForCompare(std::string_view text, std::size_t& pos, char* w) {
    char32_t cp = utf8::Next(text, pos);
    cp = kana::FullToNarrow(cp);
    cp = kana::HiraganaToKatakana(kana::HalfToFullKatakana(cp));
    if (cp >= 0x30A1 && cp <= 0x30FE && pos < text.size()) {
        // A following (half-width or combining) voiced mark joins the kana.
        std::size_t next_pos = pos;
        const char32_t next = utf8::Next(text, next_pos);
        char32_t joined = 0;
        if (IsVoicedMark(next)) joined = kana::WithVoicedMark(cp);
        if (IsSemiVoicedMark(next)) joined = kana::WithSemiVoicedMark(cp);
        if (joined != 0) {
            cp = joined;
            pos = next_pos;
        }
    }
    return Put(w, CaseFold(cp));
}

inline char* FoldOneForLike(std::string_view text, std::size_t& pos, char* w) {
    char32_t cp = kana::HiraganaToKatakana(LowerCase(utf8::Next(text, pos)));
    const kana::HalfWidth half = kana::FullToHalfKatakana(cp);
    if (half.first != 0) {
        w = Put(w, half.first);
        return half.second != 0 ? Put(w, half.second) : w;
    }
    return Put(w, kana::FullToNarrow(cp));
}

}  // namespace

void FoldForCompare(std::string_view text, std::string& out) {
    // Lambdas, unlike function pointers, let the per-character step be inlined.
    FoldText(text, out, [](std::string_view t, std::size_t& pos, char* w) {
        return FoldOneForCompare(t, pos, w);
    });
}

std::string FoldForCompare(std::string_view text) {
    std::string out;
    FoldForCompare(text, out);
    return out;
}

void NormaliseForLike(std::string_view text, std::string& out) {
    FoldText(text, out, [](std::string_view t, std::size_t& pos, char* w) {
        return FoldOneForLike(t, pos, w);
    });
}

std::string NormaliseForLike(std::string_view text) {
    std::string out;
    NormaliseForLike(text, out);
    return out;
}

std::vector<std::string> FoldSources(char32_t folded) {
    std::vector<std::string> sources;
    if (folded < 0x3000 || folded > 0x30FF) return sources;
    // The single characters that fold to `c`: itself, its hiragana, its half-width form.
    const auto singles = [](char32_t c) {
        std::vector<char32_t> found;
        const auto add_if_folds_to_c = [&](char32_t u) {
            std::string text;
            utf8::Append(text, u);
            std::string out;
            FoldForCompare(text, out);
            std::size_t pos = 0;
            if (!out.empty() && utf8::Next(out, pos) == c && pos == out.size()) found.push_back(u);
        };
        add_if_folds_to_c(c);
        if (c >= 0x30A1 && c <= 0x30F6) add_if_folds_to_c(c - 0x60);
        if (c == 0x30FD || c == 0x30FE) add_if_folds_to_c(c - 0x60);
        for (char32_t half = 0xFF61; half <= 0xFF9F; ++half) {
            if (kana::HalfToFullKatakana(half) == c) add_if_folds_to_c(half);
        }
        return found;
    };
    for (char32_t u : singles(folded)) {
        sources.emplace_back();
        utf8::Append(sources.back(), u);
    }
    // Kana joined with a following mark.
    for (char32_t base = 0x30A1; base <= 0x30FE; ++base) {
        const bool voiced = kana::WithVoicedMark(base) == folded;
        const bool semi_voiced = kana::WithSemiVoicedMark(base) == folded;
        if (!voiced && !semi_voiced) continue;
        for (char32_t u : singles(base)) {
            for (char32_t mark : voiced ? std::array<char32_t, 2>{0xFF9E, 0x3099}
                                        : std::array<char32_t, 2>{0xFF9F, 0x309A}) {
                sources.emplace_back();
                utf8::Append(sources.back(), u);
                utf8::Append(sources.back(), mark);
            }
        }
    }
    return sources;
}

}  // namespace trawlex
