#pragma once
// Where a search string matches inside one line: the parts a result shows highlighted and
// the positions the code/comment/string filter classifies. Every mode answers with the
// characters of the line itself, also where the comparison ran on a folded form of it.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/like_pattern.h"
#include "search/regex_cache.h"
#include "search/search_types.h"

namespace trawlex {

// Byte offsets into the line, begin <= end. An empty span marks a match of nothing (a
// regular expression such as "^"); it has a place but nothing to highlight.
struct MatchSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const MatchSpan&) const = default;
};

// Where the matches of one search string under one set of options lie, compiled once:
//   plain text  every occurrence, compared folded unless binary, mapped back to the
//               characters it came from (a full-width or half-width form, a kana with
//               a separate voiced mark);
//   wildcard    the longest stretch that the search string's pattern covers, from
//               each leftmost start;
//   regex       every match, as a global search finds them;
//   word        the word between its two bounding characters.
class SpanPattern {
  public:
    SpanPattern(std::string_view search, MatchOptions options);

    // The matches in `line`, left to right, not overlapping; empty when the line does not
    // match or the pattern is invalid.
    std::vector<MatchSpan> Find(std::string_view line) const;

    const std::string& Search() const { return search_; }
    MatchOptions Options() const { return options_; }

  private:
    std::string search_;
    MatchOptions options_;
    bool blank_ = false;
    std::string needle_;                          // plain text, folded unless binary
    std::optional<LikePattern> like_;             // wildcard: the search string alone
    std::optional<LikePattern> like_prefix_;      // wildcard: the search string, then "*"
    std::shared_ptr<const CompiledRegex> regex_;  // regex and word modes; null when invalid
};

// SpanPattern for whatever search string and options it is asked about, compiled again only
// when they change.
class SpanFinder {
  public:
    std::vector<MatchSpan> Find(std::string_view line, std::string_view search,
                                MatchOptions options);

  private:
    std::optional<SpanPattern> pattern_;
};

// `spans` (byte offsets into `text`, left to right, within it) as code-point offsets.
std::vector<MatchSpan> CodePointSpans(std::string_view text, const std::vector<MatchSpan>& spans);

}  // namespace trawlex
