#include "cli/row_format.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "base/utf8_codec.h"

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

void AppendSeparator(std::string& out, std::string_view separator, TextStyle style) {
    AppendColoured(out, "36", separator, TextStyle{style.colour, false});
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
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
    out += '"';
}

void AppendTsvField(std::string& out, std::string_view text) {
    // Runs of bytes that need no escape are appended whole.
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view escape;
        switch (text[i]) {
            case '\\':
                escape = "\\\\";
                break;
            case '\t':
                escape = "\\t";
                break;
            case '\n':
                escape = "\\n";
                break;
            case '\r':
                escape = "\\r";
                break;
            default:
                continue;
        }
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

void AppendTextRow(std::string& out, const ResultRow& row, TextStyle style) {
    AppendColoured(out, "35", RowDisplayName(row), style);
    AppendSeparator(out, ":", style);
    std::string line;
    AppendNumber(line, row.line);
    AppendColoured(out, "32", line, style);
    AppendSeparator(out, ":", style);
    AppendColoured(out, "33", row.procedure, style);
    AppendSeparator(out, ":", style);
    out += ' ';
    if (style.terminal) {
        AppendForTerminal(out, row.content);
    } else {
        out += row.content;
    }
    out += '\n';
}

void AppendTsvRow(std::string& out, const ResultRow& row) {
    AppendTsvField(out, RowDisplayName(row));
    out += '\t';
    AppendNumber(out, row.line);
    out += '\t';
    AppendTsvField(out, row.procedure);
    out += '\t';
    AppendTsvField(out, row.scope);
    out += '\t';
    AppendTsvField(out, row.content);
    out += '\n';
}

void AppendJsonRow(std::string& out, const ResultRow& row) {
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
    out += ",\"content\":";
    AppendJsonString(out, row.content);
    out += "}\n";
}

}  // namespace trawlex::cli
