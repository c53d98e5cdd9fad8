#pragma once
// Where a position of a VB code line lies: in code, in a comment (' or Rem to the end of
// the line, and the lines a comment continues onto with " _"), or in a string literal
// ("..." with "" standing for one quote). Rem starts a comment wherever a statement begins:
// at the line's start, after a line number or a label there, after ':', and after Then or
// Else; only as a whole word. Only ASCII bytes are looked at, and only ones that CP932 never
// uses inside a double-byte character where it matters (quotes, ' : space tab; the words
// Rem, Then, Else and line numbers only at the line's start or after a blank or ':'; "_"
// only after a space), so lines may be UTF-8 or CP932 bytes alike.

#include <cstddef>
#include <string_view>
#include <vector>

#include "search/match_spans.h"

namespace trawlex {

enum class CodeRegion : unsigned char { Code = 1, Comment = 2, String = 4 };

// A set of regions, as CodeRegion bits.
using RegionSet = unsigned;
inline constexpr RegionSet kAllRegions = 7;

inline bool RegionIn(CodeRegion region, RegionSet set) {
    return (static_cast<RegionSet>(region) & set) != 0;
}

// The region of every byte of `line`, and one more entry for the place after its end (a
// comment or an unclosed string still open there, else code).
std::vector<CodeRegion> LineRegions(std::string_view line, LineStart start);

// How the line after `line` begins.
LineStart NextLineStart(std::string_view line, LineStart start);

// How the line that begins at byte `line_start` of `text` begins, told from the lines before
// it (CR LF or LF ends a line).
LineStart LineStartAt(std::string_view text, std::size_t line_start);

// The spans of `line` that begin in a region of `wanted`, in their order. The place after
// the line's end counts as the region open there.
std::vector<MatchSpan> SpansIn(const std::vector<MatchSpan>& spans, std::string_view line,
                               LineStart start, RegionSet wanted);

}  // namespace trawlex
