#include "search/prepared_search.h"

#include "base/ascii_case.h"
#include "base/text_decode.h"
#include "base/utf8_codec.h"
#include "search/encoded_search.h"
#include "search/regex_cache.h"
#include "search/text_fold.h"

namespace trawlex {
namespace {

constexpr std::size_t kKeptScratch = 64u << 20;

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

// The longest run of U+4000-9FFF (common kanji) in a folded string. Nothing else folds to
// these, so a text whose fold holds the run holds it unfolded too.
std::string LongestUnfoldedRun(std::string_view folded) {
    std::string_view longest;
    std::size_t run_start = 0;
    std::size_t pos = 0;
    while (pos < folded.size()) {
        const char32_t cp = utf8::Next(folded, pos);
        if (cp < kUnfoldedFirst || cp > kUnfoldedLast) {
            run_start = pos;
        } else if (pos - run_start > longest.size()) {
            longest = folded.substr(run_start, pos - run_start);
        }
    }
    return std::string(longest);
}

// The kana or Japanese mark of a folded needle that should be rarest in a text: a voiced
// kana before other katakana before the rest; 0 when the needle has none.
char32_t MostTellingKana(std::string_view folded) {
    char32_t best = 0;
    int best_rank = 0;
    std::size_t pos = 0;
    while (pos < folded.size()) {
        const char32_t cp = utf8::Next(folded, pos);
        if (cp < 0x3000 || cp > 0x30FF) continue;
        int rank = 1;
        if (cp >= 0x30A1 && cp <= 0x30FA && cp != 0x30FC) rank = 2;
        if (FoldSources(cp).size() > 3) rank = 3;  // has forms with a separate mark
        if (rank > best_rank) {
            best = cp;
            best_rank = rank;
        }
    }
    return best;
}

// A regular expression's requirement: the ASCII run every match holds.
LineRequirement RegexRequirement(std::string_view pattern, bool caseless) {
    LineRequirement required;
    std::string literal = RegexRequiredLiteral(pattern);
    if (literal.empty()) return required;
    required.kind = LineRequirement::Kind::Ascii;
    required.caseless = caseless;
    if (caseless) {
        required.ascii = ToLowerAscii(literal);
        required.stand_ins = LineRequirement::StandIns::Case;
    } else {
        required.ascii = std::move(literal);
    }
    return required;
}

}  // namespace

std::string WordPattern(std::string_view search) {
    std::string words(search);
    for (char& ch : words) {
        if (ch == ' ') ch = '|';
    }
    return "[^a-z|A-Z|0-9|_](" + words + ")[^a-z|A-Z|0-9|_]";
}

std::string ComparedSearch(std::string_view search, MatchOptions options) {
    if (options.binary) return std::string(search);
    return options.mode == SearchMode::Wildcard ? NormaliseForLike(search) : FoldForCompare(search);
}

std::shared_ptr<CompiledRegex> LineRegex(std::string_view search, MatchOptions options) {
    switch (options.mode) {
        case SearchMode::Regex:
            return CompiledRegex::Compile(search, !options.binary, false);
        case SearchMode::Word:
            return CompiledRegex::Compile(WordPattern(search), !options.binary, false);
        case SearchMode::Normal:
        case SearchMode::Wildcard:
        case SearchMode::Hidemaru:
            break;
    }
    return nullptr;
}

PreparedSearch::PreparedSearch(std::string_view search, MatchOptions options, std::string* scratch)
    : search_(search),
      options_(options),
      blank_(IsBlank(search)),
      scratch_(scratch ? scratch : &own_scratch_) {
    if (blank_) return;
    switch (options.mode) {
        case SearchMode::Normal:
            needle_ = ComparedSearch(search, options);
            break;
        case SearchMode::Wildcard:
            like_ = LikePattern::Compile("*" + ComparedSearch(search, options) + "*");
            break;
        case SearchMode::Word:
            word_pattern_ = WordPattern(search);
            regex_ = LineRegex(search, options);
            break;
        case SearchMode::Regex:
            regex_ = LineRegex(search, options);
            break;
        case SearchMode::Hidemaru:
            break;
    }
}

PreparedSearch::~PreparedSearch() = default;

bool PreparedSearch::MatchLine(std::string_view line) {
    untested_ = false;
    if (blank_) return false;
    std::string& scratch = *scratch_;
    // The folded copy of a huge line is let go before the caller copies the line into a
    // row, so that a search holds little more than twice the file it reads.
    struct ScratchTrim {
        std::string& scratch;
        ~ScratchTrim() {
            if (scratch.capacity() > kKeptScratch) std::string().swap(scratch);
        }
    } trim{scratch};
    const auto tested = [this](CompiledRegex::FindResult result) {
        untested_ = result == CompiledRegex::FindResult::Failed;
        return result == CompiledRegex::FindResult::Found;
    };
    switch (options_.mode) {
        case SearchMode::Normal:
            if (options_.binary) return line.find(needle_) != std::string_view::npos;
            FoldForCompare(line, scratch);
            return scratch.find(needle_) != std::string::npos;
        case SearchMode::Wildcard:
            if (!like_) return false;
            if (options_.binary) return like_->Matches(line);
            NormaliseForLike(line, scratch);
            return like_->Matches(scratch);
        case SearchMode::Regex:
            return regex_ && tested(regex_->TestLine(line));
        case SearchMode::Word:
            if (!regex_) return false;
            scratch.reserve(line.size() + 2);  // no regrowth for the closing space
            scratch.assign(1, ' ');
            scratch.append(line);
            scratch.push_back(' ');
            return tested(regex_->TestLine(scratch));
        case SearchMode::Hidemaru:
            return false;
    }
    return false;
}

std::string PreparedSearch::PatternError() const {
    if (blank_) return {};
    switch (options_.mode) {
        case SearchMode::Regex:
            return CompiledRegex::ErrorOf(search_, !options_.binary);
        case SearchMode::Word:
            return CompiledRegex::ErrorOf(word_pattern_, !options_.binary);
        case SearchMode::Normal:
        case SearchMode::Wildcard:
        case SearchMode::Hidemaru:
            break;
    }
    return {};
}

const std::vector<std::string>& PreparedSearch::KanaSources() {
    if (!kana_sources_) kana_sources_ = FoldSources(MostTellingKana(needle_));
    return *kana_sources_;
}

const LinePrefilter& PreparedSearch::Prefilter() {
    if (!prefilter_) prefilter_ = MakePrefilter();
    return *prefilter_;
}

LinePrefilter PreparedSearch::MakePrefilter() {
    using Kind = LinePrefilter::Kind;
    using Form = LinePrefilter::Form;
    LinePrefilter filter;
    if (blank_ || options_.mode == SearchMode::Hidemaru) {
        filter.kind = Kind::NoLines;
        return filter;
    }
    switch (options_.mode) {
        case SearchMode::Normal:
            filter.needle = needle_;
            if (options_.binary) {
                filter.kind = Kind::Substring;
            } else if (IsAscii(needle_)) {
                filter.kind = Kind::FoldedAscii;  // spares folding the whole text
            } else if (std::string kanji = LongestUnfoldedRun(needle_); !kanji.empty()) {
                filter.kind = Kind::Substring;  // the text holds these as they are
                filter.needle = std::move(kanji);
            } else if (const auto& sources = KanaSources(); !sources.empty()) {
                filter.kind = Kind::AnyOf;  // the text holds one of these as it is
                filter.needles = sources;
            } else {
                filter.kind = Kind::Substring;
                filter.form = Form::Folded;
            }
            break;
        case SearchMode::Wildcard:
            if (!like_) {
                filter.kind = Kind::NoLines;
            } else if (!like_->RequiredLiteral().empty()) {
                filter.kind = Kind::Substring;
                filter.form = options_.binary ? Form::Raw : Form::LikeNormalised;
                filter.needle = like_->RequiredLiteral();
            }
            break;
        case SearchMode::Regex:
        case SearchMode::Word: {
            const bool word = options_.mode == SearchMode::Word;
            const std::string_view pattern = word ? std::string_view(word_pattern_) : search_;
            if (!regex_) {
                filter.kind = Kind::NoLines;  // an invalid pattern matches nothing
                break;
            }
            if (!RegexIsLineLocal(pattern)) break;
            filter.regex = CompiledRegex::Compile(pattern, !options_.binary, true);
            if (!filter.regex) break;
            filter.kind = Kind::Regex;
            filter.form = word ? Form::Padded : Form::Raw;
            break;
        }
        case SearchMode::Hidemaru:
            break;
    }
    return filter;
}

const LineRequirement& PreparedSearch::Requirement() {
    if (!requirement_) requirement_ = MakeRequirement();
    return *requirement_;
}

const RequirementPlan& PreparedSearch::RequirementPlanFor(ByteEncoding encoding) {
    auto& plan = requirement_plans_.at(static_cast<std::size_t>(encoding));
    if (!plan) plan = std::make_unique<const RequirementPlan>(Requirement(), encoding);
    return *plan;
}

LineRequirement PreparedSearch::MakeRequirement() {
    using Kind = LineRequirement::Kind;
    LineRequirement required;
    if (blank_ || options_.mode == SearchMode::Hidemaru) {
        required.kind = Kind::NoLines;
        return required;
    }
    const auto any_of = [&](std::vector<std::string> strings) {
        required.kind = Kind::AnyOf;
        required.strings = std::move(strings);
    };
    switch (options_.mode) {
        case SearchMode::Normal:
            if (options_.binary) {
                any_of({needle_});
            } else if (IsAscii(needle_)) {
                required.kind = Kind::Ascii;
                required.ascii = needle_;
                required.caseless = true;
                required.stand_ins = LineRequirement::StandIns::Compare;
                // FoldForCompare keeps ASCII but for the letter case.
                required.ascii_is_match = true;
            } else if (std::string kanji = LongestUnfoldedRun(needle_); !kanji.empty()) {
                any_of({std::move(kanji)});
            } else if (const auto& sources = KanaSources(); !sources.empty()) {
                any_of(sources);
            }
            break;
        case SearchMode::Wildcard: {
            if (!like_) {
                required.kind = Kind::NoLines;
                break;
            }
            const std::string& literal = like_->RequiredLiteral();
            if (literal.empty()) break;
            if (options_.binary) {
                any_of({literal});
            } else if (IsAscii(literal)) {
                required.kind = Kind::Ascii;
                required.ascii = literal;  // normalised: lower case
                required.caseless = true;
                required.stand_ins = LineRequirement::StandIns::Like;
            } else if (std::string kanji = LongestUnfoldedRun(literal); !kanji.empty()) {
                // The normalisation, like the fold, neither changes these nor makes them.
                any_of({std::move(kanji)});
            }
            break;
        }
        case SearchMode::Regex:
            if (!regex_) {
                required.kind = Kind::NoLines;
                break;
            }
            required = RegexRequirement(search_, !options_.binary);
            break;
        case SearchMode::Word: {
            if (!regex_) {
                required.kind = Kind::NoLines;
                break;
            }
            // The words stand in one group of the pattern; unless they hold an alternation
            // (a space) or make the group special ("?=" gives "(?="), what they require the
            // whole pattern requires.
            const std::string_view pattern = word_pattern_;
            if (pattern.find("(?") != std::string_view::npos ||
                pattern.find("(*") != std::string_view::npos) {
                break;
            }
            const std::size_t open = pattern.find('(');
            required = RegexRequirement(pattern.substr(open + 1, search_.size()), !options_.binary);
            break;
        }
        case SearchMode::Hidemaru:
            break;
    }
    return required;
}

std::vector<MatchSpan> PreparedSearch::Spans(std::string_view line) {
    if (!spans_) spans_.emplace(search_, options_);
    return spans_->Find(line);
}

}  // namespace trawlex
