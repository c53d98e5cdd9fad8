#pragma once
// Kana and width tables shared by the foldings.

namespace trawlex::kana {

// U+3041-3096 and U+309D-309E to katakana; other code points unchanged.
inline char32_t HiraganaToKatakana(char32_t cp) {
    if ((cp >= 0x3041 && cp <= 0x3096) || cp == 0x309D || cp == 0x309E) return cp + 0x60;
    return cp;
}

// Half-width katakana and punctuation (U+FF61-FF9F) to their full-width forms; the voiced
// and semi-voiced marks become U+309B and U+309C. Other code points unchanged.
char32_t HalfKatakanaToFull(char32_t cp);  // for U+FF61-FF9F only
inline char32_t HalfToFullKatakana(char32_t cp) {
    return (cp >= 0xFF61 && cp <= 0xFF9F) ? HalfKatakanaToFull(cp) : cp;
}

// The kana with the voiced (dakuten) or semi-voiced (handakuten) mark, or 0 when none.
char32_t WithVoicedMark(char32_t katakana);
char32_t WithSemiVoicedMark(char32_t katakana);

// A full-width katakana or Japanese punctuation mark as half-width characters: `second` is
// U+FF9E or U+FF9F for a voiced kana, else 0. `first` is 0 when there is no half-width form.
struct HalfWidth {
    char32_t first = 0;
    char32_t second = 0;
};
HalfWidth FullToHalfKatakana(char32_t cp);

// Full-width ASCII (U+FF01-FF5E), U+3000 and the full-width signs U+FFE0-FFE6 to their
// narrow forms; other code points unchanged.
char32_t FullSignToNarrow(char32_t cp);  // for U+FFE0-FFE6 only
inline char32_t FullToNarrow(char32_t cp) {
    if (cp < 0x3000) return cp;
    if (cp >= 0xFF01 && cp <= 0xFF5E) return cp - 0xFEE0;
    if (cp == 0x3000) return U' ';
    return (cp >= 0xFFE0 && cp <= 0xFFE6) ? FullSignToNarrow(cp) : cp;
}

}  // namespace trawlex::kana
