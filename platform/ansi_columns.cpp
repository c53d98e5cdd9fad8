#include "platform/ansi_columns.h"

#include <vector>

#include "platform/unicode_text.h"
#include "base/text_decode.h"

namespace trawlex::platform {

namespace {

// One code point of the line: where it lies in the UTF-8 text, how many UTF-16 units it
// takes and how many ANSI bytes.
struct CharSpan {
    size_t begin = 0;
    size_t end = 0;
    int units = 1;
    int ansiBytes = 1;
};

std::vector<CharSpan> Spans(std::string_view line) {
    std::vector<CharSpan> spans;
    for (size_t pos = 0; pos < line.size();) {
        CharSpan span;
        span.begin = pos;
        const char32_t cp = NextCodePoint(line, pos);
        span.end = pos;
        if (cp >= 0x10000) {
            span.units = 2;  // a surrogate pair: each half becomes one '?'
            span.ansiBytes = 2;
        } else if (cp >= 0x80) {
            span.ansiBytes =
                static_cast<int>(AnsiByteLength(line.substr(span.begin, span.end - span.begin)));
        }
        spans.push_back(span);
    }
    return spans;
}

// The ANSI width of every UTF-16 unit of the line.
std::vector<int> UnitWidths(std::string_view line) {
    std::vector<int> widths;
    for (const CharSpan& span : Spans(line)) {
        for (int unit = 0; unit < span.units; ++unit) widths.push_back(span.ansiBytes / span.units);
    }
    return widths;
}

}  // namespace

int AnsiColumnOfChar(std::string_view utf8Line, int charIndex0) {
    const std::vector<int> widths = UnitWidths(utf8Line);
    int column = 1;
    for (int i = 0; i < charIndex0 && i < static_cast<int>(widths.size()); ++i) column += widths[i];
    return column;
}

int CharIndexOfAnsiColumn(std::string_view utf8Line, int ansiColumn1) {
    const std::vector<int> widths = UnitWidths(utf8Line);
    int column = 1;
    for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
        column += widths[i];
        if (ansiColumn1 < column) return i;
    }
    return static_cast<int>(widths.size());
}

int AnsiLength(std::string_view utf8Line) {
    int length = 0;
    for (const CharSpan& span : Spans(utf8Line)) length += span.ansiBytes;
    return length;
}

std::string AnsiSubstring(std::string_view utf8Line, int startColumn1, int byteCount) {
    std::string out;
    if (byteCount <= 0) return out;
    const long long endColumn = static_cast<long long>(startColumn1) + byteCount;  // exclusive
    long long column = 1;
    for (const CharSpan& span : Spans(utf8Line)) {
        if (column >= startColumn1 && column + span.ansiBytes <= endColumn) {
            out.append(utf8Line.substr(span.begin, span.end - span.begin));
        }
        column += span.ansiBytes;
        if (column >= endColumn) break;
    }
    return out;
}

}  // namespace trawlex::platform
