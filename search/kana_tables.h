#pragma once
// Kana and width tables shared by the foldings.

namespace trawlex::kana {

// U+3041-3096 and U+309D-309E to katakana; other code points unchanged.
char32_t HiraganaToKatakana(char32_t cp);

// Half-width katakana and punctuation (U+FF61-FF9F) to their full-width forms; the voiced
// and semi-voiced marks become U+309B and U+309C. Other code points unchanged.
char32_t HalfToFullKatakana(char32_t cp);

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
char32_t FullToNarrow(char32_t cp);

}  // namespace trawlex::kana
