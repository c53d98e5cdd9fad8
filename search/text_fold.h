#pragma once
// Foldings that make two texts compare equal when they differ only in letter case, character
// width or kana type. Both map every code point on its own (only a half-width voiced or
// semi-voiced mark joins the kana before it), never touch CR or LF, and copy bytes that are
// not valid UTF-8 unchanged, so a folded text keeps the line structure of its source.

#include <string>
#include <string_view>

namespace trawlex {

// The comparison form of plain-text search: simple case folding, narrow ASCII (U+FF01-FF5E
// and U+3000 become their ASCII forms), full-width katakana for hiragana and half-width
// katakana, voiced kana as single code points (ｶﾞ, が and ガ all become ガ). A text contains
// another, ignoring case, width and kana, when its fold contains the other's fold.
std::string FoldForCompare(std::string_view text);
void FoldForCompare(std::string_view text, std::string& out);  // replaces `out`

// The normalisation of wildcard search, in its order: lower case, hiragana to katakana,
// full to half width; a voiced kana becomes two characters (ガ becomes ｶﾞ).
std::string NormaliseForLike(std::string_view text);
void NormaliseForLike(std::string_view text, std::string& out);  // replaces `out`

}  // namespace trawlex
