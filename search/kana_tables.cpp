#include "search/kana_tables.h"

#include <array>

namespace trawlex::kana {
namespace {

// U+FF61 to U+FF9F.
constexpr std::array<char16_t, 0x3F> kHalfToFull = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

constexpr char32_t kVoicedMarkHalf = 0xFF9E;
constexpr char32_t kSemiVoicedMarkHalf = 0xFF9F;

constexpr bool HasVoicedForm(char32_t k) {
    // カ..ヂ and ツ..ド alternate base/voiced; ハ..ポ come in threes.
    if (k >= 0x30AB && k <= 0x30C1) return (k - 0x30AB) % 2 == 0;
    if (k >= 0x30C4 && k <= 0x30C8) return (k - 0x30C4) % 2 == 0;
    if (k >= 0x30CF && k <= 0x30DB) return (k - 0x30CF) % 3 == 0;
    return false;
}

// Half-width forms of U+3000-30FF, built from the half-to-full table.
struct FullToHalfTable {
    std::array<HalfWidth, 0x100> entries{};
    FullToHalfTable() {
        for (unsigned i = 0; i < kHalfToFull.size(); ++i) {
            const char32_t full = kHalfToFull[i];
            const char32_t half = 0xFF61 + i;
            entries[full - 0x3000] = {half, 0};
            if (const char32_t voiced = WithVoicedMark(full)) {
                entries[voiced - 0x3000] = {half, kVoicedMarkHalf};
            }
            if (const char32_t semi = WithSemiVoicedMark(full)) {
                entries[semi - 0x3000] = {half, kSemiVoicedMarkHalf};
            }
        }
        // The combining marks narrow to the same half-width marks as the spacing ones.
        entries[0x3099 - 0x3000] = {kVoicedMarkHalf, 0};
        entries[0x309A - 0x3000] = {kSemiVoicedMarkHalf, 0};
    }
};

}  // namespace

char32_t HalfKatakanaToFull(char32_t cp) {
    return kHalfToFull[cp - 0xFF61];
}

char32_t WithVoicedMark(char32_t k) {
    if (HasVoicedForm(k)) return k + 1;
    switch (k) {
        case 0x30A6:
            return 0x30F4;  // ウ → ヴ
        case 0x30EF:
            return 0x30F7;  // ワ → ヷ
        case 0x30F0:
            return 0x30F8;
        case 0x30F1:
            return 0x30F9;
        case 0x30F2:
            return 0x30FA;  // ヲ → ヺ
        case 0x30FD:
            return 0x30FE;  // ヽ → ヾ
        default:
            return 0;
    }
}

char32_t WithSemiVoicedMark(char32_t k) {
    if (k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0) return k + 2;
    return 0;
}

HalfWidth FullToHalfKatakana(char32_t cp) {
    static const FullToHalfTable table;
    if (cp >= 0x3000 && cp <= 0x30FF) return table.entries[cp - 0x3000];
    return {};
}

char32_t FullSignToNarrow(char32_t cp) {
    static constexpr char16_t kSigns[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9};
    return kSigns[cp - 0xFFE0];
}

}  // namespace trawlex::kana
