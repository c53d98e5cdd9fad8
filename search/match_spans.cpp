#include "search/match_spans.h"

#include <algorithm>

#include "base/utf8_codec.h"
#include "search/prepared_search.h"
#include "search/text_fold.h"

namespace trawlex {
namespace {

bool IsKanaMark(char32_t cp) {
    return cp == 0xFF9E || cp == 0x3099 || cp == 0xFF9F || cp == 0x309A;
}

std::size_t CodePointCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count) utf8::Next(text, pos);
    return count;
}

// A line in a folded form, built unit by unit, with the way back from every byte of the
// form to the characters of the line it came from.
class MappedForm {
  public:
    // `fold` is FoldForCompare or NormaliseForLike.
    MappedForm(std::string_view line, std::string (*fold)(std::string_view)) {
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t begin = pos;
            utf8::Next(line, pos);
            std::string folded = fold(line.substr(begin, pos - begin));
            if (pos < line.size()) {
                // A kana and the voiced mark after it may fold into one character.
                std::size_t after_mark = pos;
                if (IsKanaMark(utf8::Next(line, after_mark))) {
                    std::string joined = fold(line.substr(begin, after_mark - begin));
                    if (CodePointCount(joined) == 1) {
                        folded = std::move(joined);
                        pos = after_mark;
                    }
                }
            }
            units_.push_back({text_.size(), begin, pos});
            text_ += folded;
        }
    }

    const std::string& Text() const { return text_; }

    // The characters of the line that the form's bytes [begin, end) came from.
    MatchSpan Source(MatchSpan folded) const {
        if (folded.begin == folded.end) {
            const std::size_t at = UnitAt(folded.begin) == units_.size()
                                       ? LineEnd()
                                       : units_[UnitAt(folded.begin)].source_begin;
            return {at, at};
        }
        return {units_[UnitAt(folded.begin)].source_begin,
                units_[UnitAt(folded.end - 1)].source_end};
    }

  private:
    struct Unit {
        std::size_t folded_begin;
        std::size_t source_begin;
        std::size_t source_end;
    };

    std::size_t UnitAt(std::size_t folded_offset) const {
        if (folded_offset >= text_.size()) return units_.size();
        const auto it = std::upper_bound(
            units_.begin(), units_.end(), folded_offset,
            [](std::size_t offset, const Unit& unit) { return offset < unit.folded_begin; });
        return static_cast<std::size_t>(it - units_.begin()) - 1;
    }
    std::size_t LineEnd() const { return units_.empty() ? 0 : units_.back().source_end; }

    std::string text_;
    std::vector<Unit> units_;
};

std::vector<MatchSpan> SubstringSpans(std::string_view text, std::string_view needle) {
    std::vector<MatchSpan> spans;
    if (needle.empty()) return spans;
    for (std::size_t at = text.find(needle); at != std::string_view::npos;
         at = text.find(needle, at + needle.size())) {
        spans.push_back({at, at + needle.size()});
    }
    return spans;
}

// From each start on, left to right, the longest non-empty stretch that `body` covers
// whole; `prefix` (body then "*") rules out starts quickly.
std::vector<MatchSpan> LikeSpans(std::string_view text, const LikePattern& body,
                                 const LikePattern& prefix) {
    std::vector<MatchSpan> spans;
    std::vector<std::size_t> ends;  // code point boundaries of the text
    for (std::size_t pos = 0; pos < text.size();) {
        utf8::Next(text, pos);
        ends.push_back(pos);
    }
    std::size_t start_index = 0;  // code points before the start
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t found = ends.size();
        if (prefix.Matches(text.substr(start))) {
            for (std::size_t e = ends.size(); e > start_index; --e) {
                if (body.Matches(text.substr(start, ends[e - 1] - start))) {
                    found = e - 1;
                    break;
                }
            }
        }
        if (found == ends.size()) {
            start = ends[start_index++];
            continue;
        }
        spans.push_back({start, ends[found]});
        start = ends[found];
        start_index = found + 1;
    }
    return spans;
}

// Every match of `regex` in `subject`, the way a global search steps on (an empty match
// steps one character); `group` picks the part to report, `shift` moves it back by the
// padding the subject has.
std::vector<MatchSpan> RegexSpans(const CompiledRegex& regex, std::string_view subject,
                                  unsigned group, std::size_t shift, std::size_t line_size) {
    std::vector<MatchSpan> spans;
    std::size_t from = 0;
    while (from <= subject.size()) {
        std::size_t begin = 0;
        std::size_t end = 0;
        if (regex.FindSpan(subject, from, group, begin, end) != CompiledRegex::FindResult::Found) {
            break;
        }
        const auto clip = [&](std::size_t at) {
            return std::min(line_size, at < shift ? 0 : at - shift);
        };
        spans.push_back({clip(begin), clip(end)});
        if (end > from) {
            from = end;
        } else if (from < subject.size()) {
            utf8::Next(subject, from);
        } else {
            break;
        }
    }
    return spans;
}

std::string FoldCopy(std::string_view text) {
    return FoldForCompare(text);
}
std::string LikeCopy(std::string_view text) {
    return NormaliseForLike(text);
}

}  // namespace

SpanPattern::SpanPattern(std::string_view search, MatchOptions options)
    : search_(search), options_(options), blank_(TrimSpaces(search).empty()) {
    if (blank_) return;
    switch (options.mode) {
        case SearchMode::Normal:
            needle_ = ComparedSearch(search, options);
            break;
        case SearchMode::Wildcard: {
            const std::string body = ComparedSearch(search, options);
            like_ = LikePattern::Compile(body);
            like_prefix_ = LikePattern::Compile(body + "*");
            break;
        }
        case SearchMode::Regex:
        case SearchMode::Word:
            regex_ = LineRegex(search, options);
            break;
        case SearchMode::Hidemaru:
            break;
    }
}

std::vector<MatchSpan> SpanPattern::Find(std::string_view line) const {
    if (blank_) return {};
    switch (options_.mode) {
        case SearchMode::Normal: {
            if (options_.binary) return SubstringSpans(line, needle_);
            const MappedForm folded(line, &FoldCopy);
            std::vector<MatchSpan> spans = SubstringSpans(folded.Text(), needle_);
            for (MatchSpan& span : spans) span = folded.Source(span);
            return spans;
        }
        case SearchMode::Wildcard: {
            if (!like_ || !like_prefix_) return {};
            if (options_.binary) return LikeSpans(line, *like_, *like_prefix_);
            const MappedForm normalised(line, &LikeCopy);
            std::vector<MatchSpan> spans = LikeSpans(normalised.Text(), *like_, *like_prefix_);
            for (MatchSpan& span : spans) span = normalised.Source(span);
            return spans;
        }
        case SearchMode::Regex:
            if (!regex_) return {};
            return RegexSpans(*regex_, line, 0, 0, line.size());
        case SearchMode::Word: {
            if (!regex_) return {};
            const std::string padded = " " + std::string(line) + " ";
            return RegexSpans(*regex_, padded, 1, 1, line.size());
        }
        case SearchMode::Hidemaru:
            break;
    }
    return {};
}

std::vector<MatchSpan> SpanFinder::Find(std::string_view line, std::string_view search,
                                        MatchOptions options) {
    if (!pattern_ || pattern_->Options() != options || pattern_->Search() != search) {
        pattern_.emplace(search, options);
    }
    return pattern_->Find(line);
}

std::vector<MatchSpan> CodePointSpans(std::string_view text, const std::vector<MatchSpan>& spans) {
    // One walk over the text, however many spans a long line has.
    std::vector<MatchSpan> out;
    out.reserve(spans.size());
    std::size_t byte = 0;
    std::size_t count = 0;
    const auto countTo = [&](std::size_t target) {
        target = std::min(target, text.size());
        if (target < byte) {  // out of order: count again from the start
            byte = 0;
            count = 0;
        }
        while (byte < target) {
            utf8::Next(text, byte);
            ++count;
        }
        return count;
    };
    for (const MatchSpan& span : spans) {
        const std::size_t begin = countTo(span.begin);
        out.push_back({begin, countTo(span.end)});
    }
    return out;
}

}  // namespace trawlex
