#pragma once
// A search string under one set of options, compiled once for the lines of a run: the folded
// needle, the Like pattern or the regular expression, and what the scans look for in a whole
// text before they test its lines (LinePrefilter, LineRequirement).

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_decode.h"
#include "search/like_pattern.h"
#include "search/match_spans.h"
#include "search/search_types.h"

namespace trawlex {

class CompiledRegex;
struct RequirementPlan;

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
        None,  // only ASCII characters stand for ASCII
        // The characters a case-blind regular expression takes for ASCII letters: U+212A
        // for "k", U+017F for "s" (it folds no width)
        Case,
        Compare,  // characters whose FoldForCompare holds ASCII
        Like,     // characters whose NormaliseForLike holds ASCII
    };
    Kind kind = Kind::Unknown;
    std::vector<std::string> strings;
    std::string ascii;
    bool caseless = false;
    StandIns stand_ins = StandIns::None;
    // Ascii: a line that holds `ascii` as ASCII characters (in any letter case) matches.
    bool ascii_is_match = false;
};

// The word mode's pattern: the search string (spaces as alternatives) between two
// characters that are not ASCII letters, digits, "_" or "|"; tested on " " + line + " ".
std::string WordPattern(std::string_view search);

// The search string as the plain text and wildcard modes compare it: as it is when binary,
// else folded (FoldForCompare) or normalised (NormaliseForLike).
std::string ComparedSearch(std::string_view search, MatchOptions options);

// The regular expression of the regex and word modes, compiled for testing single lines;
// null for an invalid pattern and the other modes.
std::shared_ptr<CompiledRegex> LineRegex(std::string_view search, MatchOptions options);

class PreparedSearch {
  public:
    // `search` is the run's search string. `scratch`, when given, is where lines are folded
    // or padded; a holder of several prepared searches can lend them one buffer.
    PreparedSearch(std::string_view search, MatchOptions options, std::string* scratch = nullptr);
    ~PreparedSearch();
    PreparedSearch(const PreparedSearch&) = delete;
    PreparedSearch& operator=(const PreparedSearch&) = delete;

    const std::string& Search() const { return search_; }
    MatchOptions Options() const { return options_; }

    // `line` is one line without its terminator, untrimmed. Any failure (invalid pattern)
    // is a non-match.
    bool MatchLine(std::string_view line);

    // Whether the last MatchLine said no only because the regular expression ran out of the
    // work one line may take: the line was not really tested.
    bool LastLineUntested() const { return untested_; }

    // PCRE2's message when the search string makes an invalid regular expression in the
    // regex or word mode; empty otherwise (an invalid wildcard pattern simply matches
    // nothing).
    std::string PatternError() const;

    // A prefilter that never rejects a line MatchLine would accept.
    const LinePrefilter& Prefilter();

    // What a line needs to match.
    const LineRequirement& Requirement();
    // The requirement as looked for in the bytes of texts in `encoding`.
    const RequirementPlan& RequirementPlanFor(ByteEncoding encoding);

    // Where the matches of a line lie (SpanPattern).
    std::vector<MatchSpan> Spans(std::string_view line);

  private:
    const std::vector<std::string>& KanaSources();
    LinePrefilter MakePrefilter();
    LineRequirement MakeRequirement();

    std::string search_;
    MatchOptions options_;
    bool blank_ = false;
    std::string needle_;                    // plain text: the (folded) search string
    std::optional<LikePattern> like_;       // wildcard: nullopt when invalid
    std::string word_pattern_;              // word mode
    std::shared_ptr<CompiledRegex> regex_;  // regex and word modes: null when invalid

    std::string own_scratch_;
    std::string* scratch_;   // a folded line or padded subject, reused
    bool untested_ = false;  // the last line's test ran out of its allowed work

    // Made when first asked for.
    std::optional<std::vector<std::string>> kana_sources_;
    std::optional<LinePrefilter> prefilter_;
    std::optional<LineRequirement> requirement_;
    std::array<std::unique_ptr<const RequirementPlan>, 3> requirement_plans_;  // by encoding
    std::optional<SpanPattern> spans_;
};

}  // namespace trawlex
