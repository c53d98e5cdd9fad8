#pragma once
// Shared value types of the search engine. Texts are UTF-8 throughout.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace trawlex {

// The text with leading and trailing spaces removed (spaces only, as VB's Trim).
inline std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Index of the `optSearch` option button that is selected.
enum class SearchMode : int { Normal = 0, Wildcard = 1, Regex = 2, Word = 3, Hidemaru = 4 };

struct MatchOptions {
    SearchMode mode = SearchMode::Normal;
    bool binary = false;  // `chkCase` ticked: exact, code-for-code comparison
    bool operator==(const MatchOptions&) const = default;
};

// How a physical line of VB code begins (see vb_code_regions.h).
enum class LineStart : unsigned char {
    Statement,  // a new statement
    Continued,  // the statement of the line before goes on
    Comment,    // the comment of the line before goes on
};

// One hit of a text scan.
struct ResultRow {
    std::string name;         // module name or the file's path
    std::int64_t line = 0;    // 1-based
    std::string procedure;    // "(Declarations)", a procedure name, or empty
    std::string scope;        // "Private", "Public", "Friend", "Global" or empty
    std::string content;      // the line, leading and trailing spaces removed
    std::string module = {};  // for a module inside a document file (name): its name
    // The spaces taken off the line's two ends for `content`, and how the line began (told
    // only where the search kept hits by code, comment or string): with them the line is
    // read as the scan read it (RowMatchSpans).
    std::uint32_t lead_spaces = 0;
    std::uint32_t trail_spaces = 0;
    LineStart start = LineStart::Statement;
};

// A row's texts where they lie, for hosts that write them out without keeping them.
struct ResultRowView {
    ResultRowView(std::string_view name, std::int64_t line, std::string_view procedure,
                  std::string_view scope, std::string_view content)
        : name(name), line(line), procedure(procedure), scope(scope), content(content) {}
    ResultRowView(const ResultRow& row)  // NOLINT: a row is viewed where a view is asked for
        : ResultRowView(row.name, row.line, row.procedure, row.scope, row.content) {
        module = row.module;
        lead_spaces = row.lead_spaces;
        trail_spaces = row.trail_spaces;
        start = row.start;
    }

    // The row of `text`, a line as read: its content is the line trimmed.
    static ResultRowView OfLine(std::string_view name, std::int64_t line,
                                std::string_view procedure, std::string_view scope,
                                std::string_view text, LineStart start) {
        ResultRowView row(name, line, procedure, scope, TrimSpaces(text));
        const std::size_t lead = row.content.empty()
                                     ? text.size()
                                     : static_cast<std::size_t>(row.content.data() - text.data());
        const std::size_t trail = text.size() - lead - row.content.size();
        row.lead_spaces = static_cast<std::uint32_t>(std::min<std::size_t>(lead, UINT32_MAX));
        row.trail_spaces = static_cast<std::uint32_t>(std::min<std::size_t>(trail, UINT32_MAX));
        row.start = start;
        return row;
    }

    ResultRow ToRow() const {
        ResultRow row{std::string(name), line, std::string(procedure), std::string(scope),
                      std::string(content)};
        row.module = std::string(module);
        row.lead_spaces = lead_spaces;
        row.trail_spaces = trail_spaces;
        row.start = start;
        return row;
    }

    std::string_view name;
    std::int64_t line = 0;
    std::string_view procedure;
    std::string_view scope;
    std::string_view content;
    std::string_view module;        // as ResultRow::module
    std::uint32_t lead_spaces = 0;  // as in ResultRow
    std::uint32_t trail_spaces = 0;
    LineStart start = LineStart::Statement;
};

// Separates a document's path from the module inside it where a row shows both in one text.
inline constexpr char kDocumentModuleSeparator = '|';

// The row's name as people read it: "path/Book1.xlsm|Module1" for a module in a document.
inline std::string RowDisplayName(std::string_view name, std::string_view module) {
    std::string shown(name);
    if (!module.empty()) {
        shown += kDocumentModuleSeparator;
        shown += module;
    }
    return shown;
}

inline std::string RowDisplayName(const ResultRow& row) {
    return RowDisplayName(row.name, row.module);
}

}  // namespace trawlex
