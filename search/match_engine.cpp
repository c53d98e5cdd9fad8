#include "search/match_engine.h"

#include <optional>

#include "base/text_decode.h"
#include "base/utf8_codec.h"
#include "search/like_pattern.h"
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

std::string LowerAscii(std::string_view s) {
    std::string lower(s);
    for (char& ch : lower) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
    }
    return lower;
}

// A regular expression's requirement: the ASCII run every match holds.
LineRequirement RegexRequirement(std::string_view pattern, bool caseless) {
    LineRequirement required;
    std::string literal = RegexRequiredLiteral(pattern);
    if (literal.empty()) return required;
    required.kind = LineRequirement::Kind::Ascii;
    required.caseless = caseless;
    if (caseless) {
        // Caseless matching lets U+212A stand for "k" and U+017F for "s"; their folds do.
        required.ascii = LowerAscii(literal);
        required.stand_ins = LineRequirement::StandIns::Compare;
    } else {
        required.ascii = std::move(literal);
    }
    return required;
}

// The word-boundary pattern around the search string, exactly as the search window builds it.
std::string WordPattern(std::string_view search) {
    std::string words(search);
    for (char& ch : words) {
        if (ch == ' ') ch = '|';
    }
    return "[^a-z|A-Z|0-9|_](" + words + ")[^a-z|A-Z|0-9|_]";
}

}  // namespace

struct MatchEngine::Impl {
    RegexCache regexes;

    // The last search string prepared for plain text and wildcard matching.
    std::string prepared_search;
    MatchOptions prepared_options;
    bool prepared = false;
    std::string needle;               // plain text: the (folded) search string
    std::optional<LikePattern> like;  // wildcard: nullopt when invalid
    std::string word_pattern;         // word mode

    std::string scratch;    // a folded line or padded subject, reused
    bool untested = false;  // the last line's test ran out of its allowed work

    bool Tested(CompiledRegex::FindResult result) {
        untested = result == CompiledRegex::FindResult::Failed;
        return result == CompiledRegex::FindResult::Found;
    }

    // The requirement last asked for, and its arguments.
    LineRequirement requirement;
    std::string requirement_search;
    MatchOptions requirement_options;
    bool requirement_ready = false;

    // Plain text: what an unfolded text must hold to match the needle's most telling kana.
    std::vector<std::string> kana_sources;
    bool kana_sources_ready = false;

    const std::vector<std::string>& KanaSources() {
        if (!kana_sources_ready) {
            kana_sources = FoldSources(MostTellingKana(needle));
            kana_sources_ready = true;
        }
        return kana_sources;
    }

    void Prepare(std::string_view search, MatchOptions options) {
        if (prepared && prepared_options == options && prepared_search == search) return;
        prepared_search.assign(search);
        prepared_options = options;
        prepared = true;
        kana_sources_ready = false;
        needle.clear();
        like.reset();
        word_pattern.clear();
        switch (options.mode) {
            case SearchMode::Normal:
                needle = options.binary ? std::string(search) : FoldForCompare(search);
                break;
            case SearchMode::Wildcard: {
                const std::string body =
                    options.binary ? std::string(search) : NormaliseForLike(search);
                like = LikePattern::Compile("*" + body + "*");
                break;
            }
            case SearchMode::Word:
                word_pattern = WordPattern(search);
                break;
            case SearchMode::Regex:
            case SearchMode::Hidemaru:
                break;
        }
    }
};

MatchEngine::MatchEngine() : impl_(std::make_unique<Impl>()) {}
MatchEngine::~MatchEngine() = default;

bool MatchEngine::MatchLine(std::string_view line, std::string_view search, MatchOptions options) {
    impl_->untested = false;
    // The folded copy of a huge line is let go before the caller copies the line into a
    // row, so that a search holds little more than twice the file it reads.
    struct ScratchTrim {
        std::string& scratch;
        ~ScratchTrim() {
            if (scratch.capacity() > kKeptScratch) std::string().swap(scratch);
        }
    } trim{impl_->scratch};
    if (IsBlank(search)) return false;
    Impl& impl = *impl_;
    impl.Prepare(search, options);
    switch (options.mode) {
        case SearchMode::Normal:
            if (options.binary) return line.find(impl.needle) != std::string_view::npos;
            FoldForCompare(line, impl.scratch);
            return impl.scratch.find(impl.needle) != std::string::npos;
        case SearchMode::Wildcard:
            if (!impl.like) return false;
            if (options.binary) return impl.like->Matches(line);
            NormaliseForLike(line, impl.scratch);
            return impl.like->Matches(impl.scratch);
        case SearchMode::Regex: {
            const auto regex = impl.regexes.Get(search, !options.binary, false);
            return regex && impl.Tested(regex->TestLine(line));
        }
        case SearchMode::Word: {
            const auto regex = impl.regexes.Get(impl.word_pattern, !options.binary, false);
            if (!regex) return false;
            impl.scratch.assign(1, ' ');
            impl.scratch.append(line);
            impl.scratch.push_back(' ');
            return impl.Tested(regex->TestLine(impl.scratch));
        }
        case SearchMode::Hidemaru:
            return false;
    }
    return false;
}

bool MatchEngine::LastLineUntested() const {
    return impl_->untested;
}

std::string MatchEngine::PatternError(std::string_view search, MatchOptions options) {
    if (IsBlank(search)) return {};
    switch (options.mode) {
        case SearchMode::Regex:
            return CompiledRegex::ErrorOf(search, !options.binary);
        case SearchMode::Word:
            return CompiledRegex::ErrorOf(WordPattern(search), !options.binary);
        case SearchMode::Normal:
        case SearchMode::Wildcard:
        case SearchMode::Hidemaru:
            break;
    }
    return {};
}

LinePrefilter MatchEngine::PrefilterFor(std::string_view search, MatchOptions options) {
    using Kind = LinePrefilter::Kind;
    using Form = LinePrefilter::Form;
    LinePrefilter filter;
    if (IsBlank(search) || options.mode == SearchMode::Hidemaru) {
        filter.kind = Kind::NoLines;
        return filter;
    }
    Impl& impl = *impl_;
    impl.Prepare(search, options);
    switch (options.mode) {
        case SearchMode::Normal:
            filter.needle = impl.needle;
            if (options.binary) {
                filter.kind = Kind::Substring;
            } else if (IsAscii(impl.needle)) {
                filter.kind = Kind::FoldedAscii;  // spares folding the whole text
            } else if (std::string kanji = LongestUnfoldedRun(impl.needle); !kanji.empty()) {
                filter.kind = Kind::Substring;  // the text holds these as they are
                filter.needle = std::move(kanji);
            } else if (const auto& sources = impl.KanaSources(); !sources.empty()) {
                filter.kind = Kind::AnyOf;  // the text holds one of these as it is
                filter.needles = sources;
            } else {
                filter.kind = Kind::Substring;
                filter.form = Form::Folded;
            }
            break;
        case SearchMode::Wildcard:
            if (!impl.like) {
                filter.kind = Kind::NoLines;
            } else if (!impl.like->RequiredLiteral().empty()) {
                filter.kind = Kind::Substring;
                filter.form = options.binary ? Form::Raw : Form::LikeNormalised;
                filter.needle = impl.like->RequiredLiteral();
            }
            break;
        case SearchMode::Regex:
        case SearchMode::Word: {
            const bool word = options.mode == SearchMode::Word;
            const std::string_view pattern = word ? std::string_view(impl.word_pattern) : search;
            if (!impl.regexes.Get(pattern, !options.binary, false)) {
                filter.kind = Kind::NoLines;  // an invalid pattern matches nothing
                break;
            }
            if (!RegexIsLineLocal(pattern)) break;
            filter.regex = impl.regexes.Get(pattern, !options.binary, true);
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

const LineRequirement& MatchEngine::RequirementFor(std::string_view search, MatchOptions options) {
    using Kind = LineRequirement::Kind;
    Impl& impl = *impl_;
    if (impl.requirement_ready && impl.requirement_options == options &&
        impl.requirement_search == search) {
        return impl.requirement;
    }
    impl.requirement_ready = true;
    impl.requirement_search.assign(search);
    impl.requirement_options = options;
    LineRequirement& required = impl.requirement;
    required = LineRequirement{};
    if (IsBlank(search) || options.mode == SearchMode::Hidemaru) {
        required.kind = Kind::NoLines;
        return required;
    }
    impl.Prepare(search, options);
    const auto any_of = [&](std::vector<std::string> strings) {
        required.kind = Kind::AnyOf;
        required.strings = std::move(strings);
    };
    switch (options.mode) {
        case SearchMode::Normal:
            if (options.binary) {
                any_of({impl.needle});
            } else if (IsAscii(impl.needle)) {
                required.kind = Kind::Ascii;
                required.ascii = impl.needle;
                required.caseless = true;
                required.stand_ins = LineRequirement::StandIns::Compare;
            } else if (std::string kanji = LongestUnfoldedRun(impl.needle); !kanji.empty()) {
                any_of({std::move(kanji)});
            } else if (const auto& sources = impl.KanaSources(); !sources.empty()) {
                any_of(sources);
            }
            break;
        case SearchMode::Wildcard: {
            if (!impl.like) {
                required.kind = Kind::NoLines;
                break;
            }
            const std::string& literal = impl.like->RequiredLiteral();
            if (literal.empty()) break;
            if (options.binary) {
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
            if (!impl.regexes.Get(search, !options.binary, false)) {
                required.kind = Kind::NoLines;
                break;
            }
            required = RegexRequirement(search, !options.binary);
            break;
        case SearchMode::Word: {
            if (!impl.regexes.Get(impl.word_pattern, !options.binary, false)) {
                required.kind = Kind::NoLines;
                break;
            }
            // The words stand in one group of the pattern; unless they hold an alternation
            // (a space) or make the group special ("?=" gives "(?="), what they require the
            // whole pattern requires.
            const std::string_view pattern = impl.word_pattern;
            if (pattern.find("(?") != std::string_view::npos ||
                pattern.find("(*") != std::string_view::npos) {
                break;
            }
            const std::size_t open = impl.word_pattern.find('(');
            const std::string_view words =
                std::string_view(impl.word_pattern).substr(open + 1, search.size());
            required = RegexRequirement(words, !options.binary);
            break;
        }
        case SearchMode::Hidemaru:
            break;
    }
    return required;
}

}  // namespace trawlex
