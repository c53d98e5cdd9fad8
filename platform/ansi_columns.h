#pragma once
// Columns of the host's code window count bytes of the line in the ANSI code page
// (CP932): a double-byte character counts 2, ASCII and half-width katakana count 1, and
// a character without a CP932 mapping counts 1 (it would become '?').
//
// "Character" means a UTF-16 code unit, as in VB strings and QString: a character outside
// the Basic Multilingual Plane is two characters of one byte each ("??" in ANSI).
// Character indexes are 0-based; ANSI columns are 1-based, as the code window reports them.

#include <string>
#include <string_view>

namespace trawlex::platform {

// The 1-based ANSI column where the character at charIndex0 begins. An index at or past
// the end gives the column just after the line's last byte; a negative index gives 1.
int AnsiColumnOfChar(std::string_view utf8Line, int charIndex0);

// The 0-based index of the character that holds the byte at ansiColumn1 (the second byte
// of a double-byte character belongs to that character). Columns past the end give the
// line's length in characters; columns below 1 give 0.
int CharIndexOfAnsiColumn(std::string_view utf8Line, int ansiColumn1);

// Number of ANSI bytes of the line.
int AnsiLength(std::string_view utf8Line);

// The characters whose ANSI bytes lie wholly in [startColumn1, startColumn1 + byteCount),
// as UTF-8. A range that cuts a double-byte character in two leaves that character out
// rather than producing half a character.
std::string AnsiSubstring(std::string_view utf8Line, int startColumn1, int byteCount);

}  // namespace trawlex::platform
