#pragma once
// MatchLine: does one line match the search string under the given options?
// Compiled patterns (regular expressions, Like patterns, folded needles) are cached per
// (search string, options) so that calling once per line costs no recompilation.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_types.h"

namespace trawlex {

class CompiledRegex;

// What a whole text can be searched for before its lines are tested one by one: a line can
// match only where `needle` or `regex` hits the text, transformed as `form` says, on that
// line. The transformed text has the same lines as the text, in the same order.
struct LinePrefilter {
    enum class Kind {
        AllLines,
        NoLines,
        Substring,
        Regex,
        // `needle` is lower-case ASCII: a hit is the needle in any ASCII letter case, or a
        // character of kFoldsToAsciiPrefixes.
        FoldedAscii,
        AnyOf,  // any of `needles`
    };
    enum class Form {
        Raw,             // the text itself
        Folded,          // FoldForCompare of the text
        LikeNormalised,  // NormaliseForLike of the text
        Padded,          // every line as " " + line + " ", each ended by LF
    };
    Kind kind = Kind::AllLines;
    Form form = Form::Raw;
    std::string needle;                    // Substring, FoldedAscii
    std::vector<std::string> needles;      // AnyOf
    std::shared_ptr<CompiledRegex> regex;  // Regex, compiled multi-line
};

class MatchEngine {
  public:
    MatchEngine();
    ~MatchEngine();
    MatchEngine(const MatchEngine&) = delete;
    MatchEngine& operator=(const MatchEngine&) = delete;

    // `line` is one line without its terminator, untrimmed; `search` is the run's search
    // string. Any failure (invalid pattern) is a non-match.
    bool MatchLine(std::string_view line, std::string_view search, MatchOptions options);

    // A prefilter that never rejects a line MatchLine would accept with the same arguments.
    LinePrefilter PrefilterFor(std::string_view search, MatchOptions options);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace trawlex
