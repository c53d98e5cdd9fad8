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

// What every line that can match holds, in a form that can be looked for in the bytes a text
// was decoded from without decoding them (RequirementSearch).
struct LineRequirement {
    enum class Kind {
        Unknown,  // nothing that can be looked for
        NoLines,  // no line matches
        AnyOf,    // the line holds one of `strings` as it is
        // The line holds `ascii` (in any ASCII letter case when `caseless`; lower case then),
        // or a character that `stand_ins` turns into text holding one of its characters.
        Ascii,
    };
    enum class StandIns {
        None,     // only ASCII characters stand for ASCII
        Compare,  // characters whose FoldForCompare holds ASCII
        Like,     // characters whose NormaliseForLike holds ASCII
    };
    Kind kind = Kind::Unknown;
    std::vector<std::string> strings;
    std::string ascii;
    bool caseless = false;
    StandIns stand_ins = StandIns::None;
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

    // Whether the last MatchLine said no only because the regular expression ran out of the
    // work one line may take: the line was not really tested.
    bool LastLineUntested() const;

    // PCRE2's message when `search` makes an invalid regular expression in the regex or
    // word mode; empty otherwise (an invalid wildcard pattern simply matches nothing).
    std::string PatternError(std::string_view search, MatchOptions options);

    // A prefilter that never rejects a line MatchLine would accept with the same arguments.
    LinePrefilter PrefilterFor(std::string_view search, MatchOptions options);

    // What a line needs to match with these arguments; kept until asked for other ones.
    const LineRequirement& RequirementFor(std::string_view search, MatchOptions options);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace trawlex
