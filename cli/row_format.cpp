#include "cli/row_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "base/utf8_codec.h"
#include "cli/color.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlex::cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendNumber(std::string& out, std::int64_t value) {
    std::array<char, 24> digits;
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    out.append(digits.data(), end);
}

void AppendColoured(std::string& out, std::string_view sgr, std::string_view text,
                    TextStyle style) {
    if (style.colour) {
        out += "\x1b[";
        out += sgr;
        out += 'm';
    }
    if (style.terminal) {
        AppendForTerminal(out, text);
    } else {
        out += text;
    }
    if (style.colour) out += "\x1b[0m";
}

// A field of the text format's row head and the colour it is shown in.
struct ShownField {
    std::string_view sgr;
    std::string_view text;
    bool separator = false;
};

// The fields' texts one after the other, `out` grown once for them all: the row head of
// nearly every row goes out this way.
template <std::size_t N>
void AppendFieldsAsTheyAre(std::string& out, const std::array<ShownField, N>& fields) {
    std::size_t size = 0;
    for (const ShownField& field : fields) size += field.text.size();
    std::size_t at = out.size();
    out.resize(at + size);
    for (const ShownField& field : fields) {
        field.text.copy(out.data() + at, field.text.size());
        at += field.text.size();
    }
}

// The row's name as text and tsv show it; only a module inside a document builds a new one.
std::string_view ShownName(const ResultRowView& row, std::string& scratch) {
    if (row.module.empty()) return row.name;
    scratch = RowDisplayName(row.name, row.module);
    return scratch;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    AppendJsonCharacters(out, text);
    out += '"';
}

void AppendJsonCharacters(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text.front());
        if (c >= 0x80) {
            std::size_t length = 0;
            if (utf8::Next(text, length) >= utf8::kInvalidByteBase) {
                out += kReplacement;
            } else {
                out.append(text.substr(0, length));
            }
            text.remove_prefix(length);
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    out += static_cast<char>(c);
                }
        }
        text.remove_prefix(1);
    }
}

namespace {

// The escape of a byte in a tsv field; empty for a byte that stands as it is.
std::string_view TsvEscape(char c) {
    switch (c) {
        case '\\':
            return "\\\\";
        case '\t':
            return "\\t";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        default:
            return {};
    }
}

#if defined(__SSE2__)
// The places among the 16 bytes at `at` that may need an escape, as bits.
unsigned TsvCandidateBits(const char* at) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(chunk, _mm_set1_epi8(0x1F)), chunk);
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(control, _mm_cmpeq_epi8(chunk, _mm_set1_epi8('\\')))));
}
#endif

// The first byte at or after `i` that may need an escape (a control character or "\\"), or
// the end of the text.
std::size_t NextTsvCandidate(std::string_view text, std::size_t i) {
#if defined(__SSE2__)
    if (text.size() >= 16) {
        while (text.size() - i >= 16) {
            if (const unsigned bits = TsvCandidateBits(text.data() + i); bits != 0) {
                return i + static_cast<std::size_t>(__builtin_ctz(bits));
            }
            i += 16;
        }
        if (i == text.size()) return i;
        // The last 16 bytes, less the places before `i`, instead of a byte-by-byte tail.
        const std::size_t last = text.size() - 16;
        const unsigned bits = TsvCandidateBits(text.data() + last) >> (i - last);
        return bits != 0 ? i + static_cast<std::size_t>(__builtin_ctz(bits)) : text.size();
    }
#endif
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c <= 0x1F || c == '\\') return i;
    }
    return i;
}

}  // namespace

void AppendTsvField(std::string& out, std::string_view text) {
    // Runs of bytes that need no escape are appended whole.
    std::size_t plain = 0;
    for (std::size_t i = NextTsvCandidate(text, 0); i < text.size();
         i = NextTsvCandidate(text, i + 1)) {
        const std::string_view escape = TsvEscape(text[i]);
        if (escape.empty()) continue;
        out.append(text.data() + plain, i - plain);
        out.append(escape);
        plain = i + 1;
    }
    out.append(text.data() + plain, text.size() - plain);
}

void AppendForTerminal(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            out += '^';
            out += static_cast<char>(c ^ 0x40);
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            out += kReplacement;
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
}

void AppendRowHead(std::string& out, const ResultRowView& row, OutputFormat format,
                   TextStyle style) {
    std::string scratch;
    switch (format) {
        case OutputFormat::Text: {
            std::array<char, 24> digits;
            const auto end =
                std::to_chars(digits.data(), digits.data() + digits.size(), row.line).ptr;
            // The fields with their colours; separators are never control characters.
            const std::array<ShownField, 6> fields{{
                {"35", ShownName(row, scratch), false},
                {"36", ":", true},
                {"32", std::string_view(digits.data(), end - digits.data()), false},
                {"36", ":", true},
                {"33", row.procedure, false},
                {"36", ":", true},
            }};
            if (style.colour || style.terminal) {
                for (const ShownField& field : fields) {
                    AppendColoured(out, field.sgr, field.text,
                                   field.separator ? TextStyle{style.colour, false} : style);
                }
            } else {
                AppendFieldsAsTheyAre(out, fields);
            }
            out += ' ';
            return;
        }
        case OutputFormat::Tsv:
            AppendTsvField(out, ShownName(row, scratch));
            out += '\t';
            AppendNumber(out, row.line);
            out += '\t';
            AppendTsvField(out, row.procedure);
            out += '\t';
            AppendTsvField(out, row.scope);
            out += '\t';
            return;
        case OutputFormat::Jsonl:
            out += "{\"name\":";
            AppendJsonString(out, row.name);
            if (!row.module.empty()) {
                out += ",\"module\":";
                AppendJsonString(out, row.module);
            }
            out += ",\"line\":";
            AppendNumber(out, row.line);
            out += ",\"procedure\":";
            AppendJsonString(out, row.procedure);
            out += ",\"scope\":";
            AppendJsonString(out, row.scope);
            out += ",\"content\":\"";
            return;
    }
}

void AppendContentPiece(std::string& out, std::string_view piece, OutputFormat format,
                        TextStyle style, bool matched) {
    switch (format) {
        case OutputFormat::Text:
            if (matched && style.colour) {
                AppendColoured(out, kMatchSgr, piece, style);
            } else if (style.terminal) {
                AppendForTerminal(out, piece);
            } else {
                out += piece;
            }
            return;
        case OutputFormat::Tsv:
            AppendTsvField(out, piece);
            return;
        case OutputFormat::Jsonl:
            AppendJsonCharacters(out, piece);
            return;
    }
}

void AppendRowTail(std::string& out, OutputFormat format,
                   const std::vector<MatchSpan>& code_point_spans) {
    if (format != OutputFormat::Jsonl) {
        out += '\n';
        return;
    }
    out += "\",\"spans\":[";
    for (std::size_t i = 0; i < code_point_spans.size(); ++i) {
        out += i == 0 ? "[" : ",[";
        AppendNumber(out, static_cast<std::int64_t>(code_point_spans[i].begin));
        out += ',';
        AppendNumber(out, static_cast<std::int64_t>(code_point_spans[i].end));
        out += ']';
    }
    out += "]}\n";
}

std::string_view NextContentPiece(std::string_view& content, std::size_t size) {
    // A character (and a C1 control shown as U+FFFD) stays within one piece; a sequence
    // has at most three bytes after its first, so more are stray bytes that stand alone.
    std::size_t end = std::min(size, content.size());
    for (int more = 0; more < 3 && end < content.size() &&
                       (static_cast<unsigned char>(content[end]) & 0xC0) == 0x80;
         ++more) {
        ++end;
    }
    const std::string_view piece = content.substr(0, end);
    content.remove_prefix(end);
    return piece;
}

std::vector<ContentPart> SplitAtMatches(std::string_view content,
                                        const std::vector<MatchSpan>& matches) {
    std::vector<ContentPart> parts;
    std::size_t shown = 0;
    for (const MatchSpan& match : matches) {
        if (match.begin < shown || match.end > content.size() || match.begin == match.end) {
            continue;
        }
        if (match.begin > shown) parts.push_back({content.substr(shown, match.begin - shown)});
        parts.push_back({content.substr(match.begin, match.end - match.begin), true});
        shown = match.end;
    }
    if (shown < content.size() || parts.empty()) parts.push_back({content.substr(shown)});
    return parts;
}

void AppendRow(std::string& out, const ResultRowView& row, OutputFormat format, TextStyle style,
               const std::vector<MatchSpan>& matches) {
    AppendRowHead(out, row, format, style);
    if (format == OutputFormat::Text && style.colour && !matches.empty()) {
        for (const ContentPart& part : SplitAtMatches(row.content, matches)) {
            AppendContentPiece(out, part.text, format, style, part.matched);
        }
    } else {
        AppendContentPiece(out, row.content, format, style);
    }
    AppendRowTail(out, format,
                  format == OutputFormat::Jsonl ? CodePointSpans(row.content, matches)
                                                : std::vector<MatchSpan>{});
}

void AppendTextRow(std::string& out, const ResultRowView& row, TextStyle style,
                   const std::vector<MatchSpan>& matches) {
    AppendRow(out, row, OutputFormat::Text, style, matches);
}

void AppendTsvRow(std::string& out, const ResultRowView& row) {
    AppendRow(out, row, OutputFormat::Tsv, TextStyle{});
}

void AppendJsonRow(std::string& out, const ResultRowView& row,
                   const std::vector<MatchSpan>& matches) {
    AppendRow(out, row, OutputFormat::Jsonl, TextStyle{}, matches);
}

}  // namespace trawlex::cli
