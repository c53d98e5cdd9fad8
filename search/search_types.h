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

// Separates a document's path from the module inside it where a row shows both in one text.
inline constexpr char kDocumentModuleSeparator = '|';

// The row's name as people read it: "path/Book1.xlsm|Module1" for a module in a document.
inline std::string RowDisplayName(const ResultRow& row) {
    if (row.module.empty()) return row.name;
    return row.name + kDocumentModuleSeparator + row.module;
}

}  // namespace trawlex
