#include "platform/reg_format.h"

#include <cstdio>
#include <vector>

#include "base/ascii_case.h"
#include "platform/unicode_text.h"

namespace trawlex::platform {

namespace {

// ---- writing ----

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    }
    return false;
}

std::string HexBytes(std::string_view bytes) {
    std::string out;
    char buffer[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i) out += ',';
        out += buffer;
    }
    return out;
}

std::string HexForm(uint32_t type, std::string_view bytes) {
    char prefix[24];
    if (type == kRegBinary) {
        std::snprintf(prefix, sizeof prefix, "hex:");
    } else {
        std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(type));
    }
    return prefix + HexBytes(bytes);
}

std::string FormatData(const RegValue& value) {
    switch (value.type) {
        case kRegSz:
            if (!HasControlCharacter(value.text)) return Quoted(value.text);
            return HexForm(kRegSz, Utf8ToUtf16Le(value.text) + std::string(2, '\0'));
        case kRegExpandSz:
            return HexForm(kRegExpandSz, Utf8ToUtf16Le(value.text) + std::string(2, '\0'));
        case kRegDword: {
            char buffer[24];
            std::snprintf(buffer, sizeof buffer, "dword:%08x", value.dword);
            return buffer;
        }
        default:
            return HexForm(value.type, value.raw);
    }
}

// ---- reading ----

Failure ParseError(std::string_view fileName, int line, const std::string& what) {
    return Failure{std::string(fileName) + ":" + std::to_string(line) + ": " + what};
}

struct Line {
    std::string text;
    int number = 0;  // 1-based, of the line where it starts
};

// Splits into lines, drops CR, and joins hex continuations (a trailing backslash).
std::vector<Line> LogicalLines(std::string_view text) {
    std::vector<Line> lines;
    bool continuing = false;
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        if (continuing) {
            size_t first = raw.find_first_not_of(" \t");
            raw = first == std::string_view::npos ? std::string_view() : raw.substr(first);
            lines.back().text += raw;
        } else {
            lines.push_back(Line{std::string(raw), number});
        }
        // regedit wraps long hex data after a comma and ends the line with a backslash.
        const std::string& current = lines.back().text;
        continuing = current.ends_with(",\\") && current.front() != '[' && current.front() != ';';
        if (continuing) lines.back().text.pop_back();
    }
    return lines;
}

class LineParser {
  public:
    LineParser(std::string_view text, std::string_view fileName, int lineNumber)
        : text_(text), fileName_(fileName), line_(lineNumber) {}

    Failure Fail(const std::string& what) const { return ParseError(fileName_, line_, what); }

    // A quoted string starting at pos_; \\ and \" are escapes.
    Result<std::string> QuotedString() {
        if (pos_ >= text_.size() || text_[pos_] != '"') return Fail("expected '\"'");
        ++pos_;
        std::string out;
        while (pos_ < text_.size()) {
            char c = text_[pos_++];
            if (c == '"') return out;
            if (c == '\\' && pos_ < text_.size() && (text_[pos_] == '\\' || text_[pos_] == '"')) {
                c = text_[pos_++];
            }
            out += c;
        }
        return Fail("unterminated string");
    }

    Result<RegValue> Value() {
        RegValue value;
        if (Peek() == '@') {
            ++pos_;
        } else {
            Result<std::string> name = QuotedString();
            if (!name) return Failure{name.error()};
            value.name = std::move(*name);
        }
        if (Peek() != '=') return Fail("expected '=' after the value name");
        ++pos_;
        std::string_view data = text_.substr(pos_);
        if (!data.empty() && data.front() == '"') {
            Result<std::string> text = QuotedString();
            if (!text) return Failure{text.error()};
            if (pos_ != text_.size()) return Fail("unexpected text after the string");
            value.type = kRegSz;
            value.text = std::move(*text);
            // A string value ends at its first NUL, as its hex(1) form read back does.
            if (const size_t nul = value.text.find('\0'); nul != std::string::npos) {
                value.text.resize(nul);
            }
            return value;
        }
        if (data.starts_with("dword:")) {
            data.remove_prefix(6);
            if (data.empty() || data.size() > 8 ||
                data.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
                return Fail("malformed dword value");
            }
            value.type = kRegDword;
            value.dword = static_cast<uint32_t>(std::stoul(std::string(data), nullptr, 16));
            return value;
        }
        return HexValue(std::move(value), data);
    }

  private:
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    Result<RegValue> HexValue(RegValue value, std::string_view data) {
        if (data.starts_with("hex:")) {
            value.type = kRegBinary;
            data.remove_prefix(4);
        } else if (data.starts_with("hex(")) {
            size_t close = data.find("):");
            std::string_view number =
                data.substr(4, close == std::string_view::npos ? 0 : close - 4);
            if (number.empty() || number.size() > 8 ||
                number.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
                return Fail("malformed hex(n) type");
            }
            value.type = static_cast<uint32_t>(std::stoul(std::string(number), nullptr, 16));
            data.remove_prefix(close + 2);
        } else {
            return Fail("unknown value data (expected a string, dword: or hex)");
        }
        std::string bytes;
        size_t pos = 0;
        while (pos < data.size()) {
            size_t comma = data.find(',', pos);
            std::string_view item = data.substr(
                pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
            while (!item.empty() && (item.front() == ' ' || item.front() == '\t'))
                item.remove_prefix(1);
            while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
                item.remove_suffix(1);
            if (item.empty() || item.size() > 2 ||
                item.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
                return Fail("malformed hex byte");
            }
            bytes += static_cast<char>(std::stoul(std::string(item), nullptr, 16));
            if (comma == std::string_view::npos) break;
            pos = comma + 1;
        }
        if (value.type == kRegSz || value.type == kRegExpandSz) {
            value.text = Utf16LeToUtf8(bytes);
        } else if (value.type == kRegDword) {
            if (bytes.size() != 4) return Fail("a dword needs 4 bytes");
            value.dword = static_cast<uint32_t>(static_cast<unsigned char>(bytes[0])) |
                          static_cast<uint32_t>(static_cast<unsigned char>(bytes[1])) << 8 |
                          static_cast<uint32_t>(static_cast<unsigned char>(bytes[2])) << 16 |
                          static_cast<uint32_t>(static_cast<unsigned char>(bytes[3])) << 24;
        } else {
            value.raw = std::move(bytes);
        }
        return value;
    }

    std::string_view text_;
    std::string_view fileName_;
    int line_;
    size_t pos_ = 0;
};

}  // namespace

Result<RegHive> ParseRegText(std::string_view text, std::string_view rootName,
                             std::string_view fileName) {
    RegHive hive;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return hive;

    std::vector<Line> lines = LogicalLines(text);
    auto fail = [&](int line, const std::string& what) { return ParseError(fileName, line, what); };
    size_t index = 0;
    while (index < lines.size() && lines[index].text.empty()) ++index;
    if (index == lines.size() || lines[index].text != kRegHeader) {
        return fail(index < lines.size() ? lines[index].number : 1,
                    "not a registry file (expected \"" + std::string(kRegHeader) + "\")");
    }
    RegKey* current = nullptr;
    for (++index; index < lines.size(); ++index) {
        const Line& line = lines[index];
        const std::string& t = line.text;
        if (t.empty() || t.front() == ';') continue;
        if (t.front() == '[') {
            if (t.back() != ']') return fail(line.number, "unterminated key name");
            std::string_view path = std::string_view(t).substr(1, t.size() - 2);
            const size_t slash = path.find('\\');
            if (!EqualsIgnoringCase(path.substr(0, slash), rootName)) {
                return fail(line.number, "key outside " + std::string(rootName));
            }
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
            if ((slash != std::string_view::npos && path.empty()) || path.starts_with('\\') ||
                path.ends_with('\\') || path.find("\\\\") != std::string_view::npos) {
                return fail(line.number, "empty key name");
            }
            current = &hive.Create(path);
            continue;
        }
        if (!current) return fail(line.number, "value outside any key");
        LineParser parser(t, fileName, line.number);
        Result<RegValue> value = parser.Value();
        if (!value) return Failure{value.error()};
        current->SetValue(std::move(*value));
    }
    return hive;
}

std::string FormatRegText(const RegHive& hive, std::string_view rootName) {
    std::string out = std::string(kRegHeader) + "\n";
    for (const auto& [folded, key] : hive.keys()) {
        if (key.path.empty() && key.values.empty()) continue;
        out += "\n[";
        out += rootName;
        if (!key.path.empty()) out += "\\" + key.path;
        out += "]\n";
        for (const RegValue& value : key.values) {
            out += value.name.empty() ? std::string("@") : Quoted(value.name);
            out += '=';
            out += FormatData(value);
            out += '\n';
        }
    }
    return out;
}

}  // namespace trawlex::platform
