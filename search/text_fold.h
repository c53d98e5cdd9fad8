#pragma once
// Foldings that make two texts compare equal when they differ only in letter case, character
// width or kana type. Both map every code point on its own (only a half-width voiced or
// semi-voiced mark joins the kana before it), never touch CR or LF, and copy bytes that are
// not valid UTF-8 unchanged, so a folded text keeps the line structure of its source.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace trawlex {

// The comparison form of plain-text search: simple case folding, narrow ASCII (U+FF01-FF5E
// and U+3000 become their ASCII forms), full-width katakana for hiragana and half-width
// katakana, voiced kana as single code points (ｶﾞ, が and ガ all become ガ). A text contains
// another, ignoring case, width and kana, when its fold contains the other's fold.
std::string FoldForCompare(std::string_view text);

// Every character outside ASCII whose FoldForCompare holds ASCII begins with one of these
// UTF-8 byte sequences (full-width ASCII, U+3000, U+017F, U+212A). So where a text has none
// of them, its fold holds an ASCII string only where the text holds it, ignoring case.
inline constexpr std::array<std::string_view, 5> kFoldsToAsciiPrefixes = {
    "\xEF\xBC", "\xEF\xBD", "\xE3\x80\x80", "\xC5\xBF", "\xE2\x84\xAA"};
void FoldForCompare(std::string_view text, std::string& out);  // replaces `out`

// FoldForCompare keeps U+4000-9FFF (most kanji) as they are, and nothing else folds to them.
inline constexpr char32_t kUnfoldedFirst = 0x4000;
inline constexpr char32_t kUnfoldedLast = 0x9FFF;

// Every text whose FoldForCompare is exactly `folded`, a character of U+3000-30FF (kana and
// Japanese punctuation): single characters, and kana followed by a voiced or semi-voiced
// mark. Empty for other characters, and for those that are not a fold of anything.
std::vector<std::string> FoldSources(char32_t folded);

// The normalisation of wildcard search, in its order: lower case (as VB's LCase: capital
// letters only, no folding of ſ, ς or the Kelvin sign), hiragana to katakana,
// full to half width; a voiced kana becomes two characters (ガ becomes ｶﾞ).
std::string NormaliseForLike(std::string_view text);
void NormaliseForLike(std::string_view text, std::string& out);  // replaces `out`

}  // namespace trawlex
