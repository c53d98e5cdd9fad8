#include "search/vb_code_regions.h"

#include <algorithm>
#include <cstring>

namespace trawlex {
namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

char Lower(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch;
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// A byte that goes on a name: an ASCII letter, digit or '_', or any byte of a character
// beyond ASCII (names may hold Japanese).
bool IsNameByte(char ch) {
    const auto u = static_cast<unsigned char>(ch);
    return u >= 0x80 || u == '_' || IsDigit(ch) || (Lower(ch) >= 'a' && Lower(ch) <= 'z');
}

// The keyword `word` (lower case) at `at` as a whole word, in any letter case.
bool KeywordAt(std::string_view line, std::size_t at, std::string_view word) {
    if (line.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(line[at + i]) != word[i]) return false;
    }
    return line.size() - at == word.size() || !IsNameByte(line[at + word.size()]);
}

// The end of the line number that begins at `at` (digits, then a blank or the line's
// end), or `at` when there is none.
std::size_t LineNumberEnd(std::string_view line, std::size_t at) {
    std::size_t end = at;
    while (end < line.size() && IsDigit(line[end])) ++end;
    return end == at || (end < line.size() && !IsBlank(line[end])) ? at : end;
}

// The position of the continuation "_" that ends `line`, or npos.
std::size_t ContinuationAt(std::string_view line) {
    std::size_t end = line.size();
    while (end > 0 && (IsBlank(line[end - 1]) || line[end - 1] == '\r')) --end;
    if (end == 0 || line[end - 1] != '_') return std::string_view::npos;
    if (end >= 2 && !IsBlank(line[end - 2])) return std::string_view::npos;
    return end - 1;
}

// The line that ends just before `next_start` (which follows a line feed).
std::string_view LineBefore(std::string_view text, std::size_t next_start, std::size_t& start) {
    std::size_t end = next_start - 1;  // the line feed
    const void* lf = end > 0 ? ::memrchr(text.data(), '\n', end) : nullptr;
    start = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) + 1 : 0;
    if (end > start && text[end - 1] == '\r') --end;
    return text.substr(start, end - start);
}

// VB allows 24 continuations in a row; a longer run is taken as starting a statement.
constexpr int kMaxContinuedLines = 64;

}  // namespace

std::vector<CodeRegion> LineRegions(std::string_view line, LineStart start) {
    std::vector<CodeRegion> regions(line.size() + 1, CodeRegion::Code);
    if (start == LineStart::Comment) {
        regions.assign(line.size() + 1, CodeRegion::Comment);
        return regions;
    }
    // Where a statement may begin next (after blanks): the line's start, a line number or
    // label there, ':', and Then or Else.
    bool statement_start = start == LineStart::Statement;
    bool line_head = statement_start;  // only blanks so far, and a line number may follow
    std::size_t at = 0;
    while (at < line.size()) {
        const char ch = line[at];
        if (IsBlank(ch)) {
            ++at;
            continue;
        }
        if (ch == '\'' || (statement_start && KeywordAt(line, at, "rem"))) {
            std::fill(regions.begin() + static_cast<std::ptrdiff_t>(at), regions.end(),
                      CodeRegion::Comment);
            return regions;
        }
        if (ch == '"') {
            regions[at++] = CodeRegion::String;
            bool closed = false;
            while (at < line.size() && !closed) {
                regions[at] = CodeRegion::String;
                if (line[at] == '"') {
                    if (at + 1 < line.size() && line[at + 1] == '"') {
                        regions[++at] = CodeRegion::String;  // "" is a quote in the string
                    } else {
                        closed = true;
                    }
                }
                ++at;
            }
            if (!closed) regions[line.size()] = CodeRegion::String;
            statement_start = line_head = false;
            continue;
        }
        // A word begins only where a character surely begins: after a blank, ':' or at the
        // line's start; a CP932 character's second byte may be an ASCII letter or digit.
        if (at == 0 || IsBlank(line[at - 1]) || statement_start) {
            const std::size_t number_end = line_head ? LineNumberEnd(line, at) : at;
            if (number_end > at) {
                at = number_end;
                line_head = false;
                continue;  // the statement begins after the line number
            }
            if (KeywordAt(line, at, "then") || KeywordAt(line, at, "else")) {
                at += 4;
                statement_start = true;
                line_head = false;
                continue;
            }
        }
        statement_start = ch == ':';
        line_head = false;
        ++at;
    }
    return regions;
}

LineStart NextLineStart(std::string_view line, LineStart start) {
    const std::size_t underscore = ContinuationAt(line);
    if (underscore == std::string_view::npos) return LineStart::Statement;
    const std::vector<CodeRegion> regions = LineRegions(line, start);
    return regions[underscore] == CodeRegion::Comment ? LineStart::Comment : LineStart::Continued;
}

LineStart LineStartAt(std::string_view text, std::size_t line_start) {
    // Walk back over the lines that continue onto their next one, then forward again.
    std::vector<std::string_view> continuing;  // nearest first
    std::size_t at = line_start;
    while (at > 0 && at <= text.size() &&
           static_cast<int>(continuing.size()) < kMaxContinuedLines) {
        std::size_t start = 0;
        const std::string_view before = LineBefore(text, at, start);
        if (ContinuationAt(before) == std::string_view::npos) break;
        continuing.push_back(before);
        at = start;
    }
    LineStart state = LineStart::Statement;
    for (auto it = continuing.rbegin(); it != continuing.rend(); ++it) {
        state = NextLineStart(*it, state);
    }
    return state;
}

std::vector<MatchSpan> SpansIn(const std::vector<MatchSpan>& spans, std::string_view line,
                               LineStart start, RegionSet wanted) {
    if ((wanted & kAllRegions) == kAllRegions) return spans;
    std::vector<MatchSpan> kept;
    if ((wanted & kAllRegions) == 0 || spans.empty()) return kept;
    const std::vector<CodeRegion> regions = LineRegions(line, start);
    for (const MatchSpan& span : spans) {
        if (RegionIn(regions[std::min(span.begin, line.size())], wanted)) kept.push_back(span);
    }
    return kept;
}

}  // namespace trawlex
