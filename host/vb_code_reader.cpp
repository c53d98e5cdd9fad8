#include "host/vb_code_reader.h"

#include <algorithm>
#include <cctype>

#include "base/ascii_case.h"

namespace trawlex::host {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A date literal such as #1/2/2000 12:30:00 PM# starting at `open`; returns the index of
// its closing '#', or npos when the '#' starts something else (a directive, a file number).
std::size_t DateLiteralEnd(std::string_view line, std::size_t open) {
    const std::size_t close = line.find('#', open + 1);
    if (close == std::string_view::npos) return close;
    const std::string_view body = line.substr(open + 1, close - open - 1);
    bool digit = false;
    for (char c : body) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else if (!(c == '/' || c == ':' || c == '-' || c == '.' || c == ',' || IsBlank(c) ||
                     std::string_view("APMapm").find(c) != std::string_view::npos)) {
            return std::string_view::npos;
        }
    }
    return digit ? close : std::string_view::npos;
}

bool StartsWithRem(std::string_view statement) {
    statement = Trim(statement);
    if (statement.size() < 3 || !SameIdentifier(statement.substr(0, 3), "rem")) return false;
    return statement.size() == 3 || IsBlank(statement[3]);
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i])) ++i;
        std::size_t start = i;
        while (i < s.size() && !IsBlank(s[i])) ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

// The procedure name at the start of `rest`: up to "(" or a blank; brackets and a type
// suffix ($, %, & ...) are not part of the name.
std::string NameAt(std::string_view rest) {
    rest = Trim(rest);
    std::string_view name;
    if (!rest.empty() && rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return {};
        name = rest.substr(1, close - 1);
    } else {
        std::size_t end = 0;
        while (end < rest.size() && rest[end] != '(' && !IsBlank(rest[end])) ++end;
        name = rest.substr(0, end);
        if (!name.empty() &&
            std::string_view("%&!#@$").find(name.back()) != std::string_view::npos) {
            name.remove_suffix(1);
        }
    }
    return std::string(name);
}

}  // namespace

bool SameIdentifier(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return ToLowerAscii(x) == ToLowerAscii(y);
           });
}

bool EndsWithContinuation(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.back() != '_') return false;
    return line.size() == 1 || IsBlank(line[line.size() - 2]);
}

std::vector<std::string> SplitStatements(std::string_view logicalLine) {
    std::vector<std::string> statements;
    auto flush = [&](std::size_t from, std::size_t to) {
        const std::string_view statement = Trim(logicalLine.substr(from, to - from));
        if (!statement.empty()) statements.emplace_back(statement);
    };
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < logicalLine.size()) {
        const char c = logicalLine[i];
        if (c == '"') {
            // A string literal; "" inside it is one quote. An unclosed one runs to the end.
            ++i;
            while (i < logicalLine.size()) {
                if (logicalLine[i] == '"') {
                    if (i + 1 < logicalLine.size() && logicalLine[i + 1] == '"') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            ++i;
            continue;
        }
        if (c == '#') {
            const std::size_t close = DateLiteralEnd(logicalLine, i);
            i = close == std::string_view::npos ? i + 1 : close + 1;
            continue;
        }
        if (c == '\'') break;
        if (c == ':' && (i + 1 >= logicalLine.size() || logicalLine[i + 1] != '=')) {
            flush(start, i);
            start = i + 1;
            ++i;
            continue;
        }
        // Rem starts a comment only where a statement starts.
        if (i == start || Trim(logicalLine.substr(start, i - start)).empty()) {
            if (StartsWithRem(logicalLine.substr(i))) return statements;
        }
        ++i;
    }
    flush(start, std::min(i, logicalLine.size()));
    return statements;
}

std::optional<ProcHeader> ParseProcHeader(std::string_view statement) {
    const std::vector<std::string_view> words = Words(statement);
    std::size_t w = 0;
    auto is = [&](std::string_view keyword) {
        return w < words.size() && SameIdentifier(words[w], keyword);
    };
    if (is("Public") || is("Private") || is("Friend")) ++w;
    if (is("Static")) ++w;
    ProcHeader header;
    if (is("Sub") || is("Function")) {
        ++w;
    } else if (is("Property")) {
        ++w;
        if (is("Get")) {
            header.kind = vbext_pk_Get;
        } else if (is("Let")) {
            header.kind = vbext_pk_Let;
        } else if (is("Set")) {
            header.kind = vbext_pk_Set;
        } else {
            return std::nullopt;
        }
        ++w;
    } else {
        return std::nullopt;
    }
    if (w >= words.size()) return std::nullopt;
    // The name starts at words[w]; it may run straight into its "(".
    const std::size_t offset = static_cast<std::size_t>(words[w].data() - statement.data());
    header.name = NameAt(statement.substr(offset));
    if (header.name.empty()) return std::nullopt;
    return header;
}

bool IsProcEnd(std::string_view statement) {
    const std::vector<std::string_view> words = Words(statement);
    return words.size() == 2 && SameIdentifier(words[0], "End") &&
           (SameIdentifier(words[1], "Sub") || SameIdentifier(words[1], "Function") ||
            SameIdentifier(words[1], "Property"));
}

bool IsCompilerConstant(std::string_view statement) {
    const std::vector<std::string_view> words = Words(statement);
    return !words.empty() && SameIdentifier(words[0], "#Const");
}

}  // namespace trawlex::host
