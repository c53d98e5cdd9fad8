#pragma once
// Shared value types of the search engine. Texts are UTF-8 throughout.

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

// One hit of a text scan.
struct ResultRow {
    std::string name;       // module name or the file's path
    std::int64_t line = 0;  // 1-based
    std::string procedure;  // "(Declarations)", a procedure name, or empty
    std::string scope;      // "Private", "Public", "Friend", "Global" or empty
    std::string content;    // the line, leading and trailing spaces removed
    std::string module = {};  // for a module inside a document file (name): its name
};

// A row's texts where they lie, for hosts that write them out without keeping them.
struct ResultRowView {
    ResultRowView(std::string_view name, std::int64_t line, std::string_view procedure,
                  std::string_view scope, std::string_view content)
        : name(name), line(line), procedure(procedure), scope(scope), content(content) {}
    ResultRowView(const ResultRow& row)  // NOLINT: a row is viewed where a view is asked for
        : ResultRowView(row.name, row.line, row.procedure, row.scope, row.content) {
        module = row.module;
    }

    ResultRow ToRow() const {
        ResultRow row{std::string(name), line, std::string(procedure), std::string(scope),
                      std::string(content)};
        row.module = std::string(module);
        return row;
    }

    std::string_view name;
    std::int64_t line = 0;
    std::string_view procedure;
    std::string_view scope;
    std::string_view content;
    std::string_view module;  // as ResultRow::module
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
