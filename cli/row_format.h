#pragma once
// How trawlex-grep writes one result row in each output format.
//
// text:  name:line:procedure: content   (for people; see AppendTextRow)
// tsv:   name TAB line TAB procedure TAB scope TAB content; in every field a backslash is
//        written "\\", a tab "\t", a line feed "\n" and a carriage return "\r".
// jsonl: {"name":…,"line":N,"procedure":…,"scope":…,"content":…} as one line of UTF-8 JSON,
//        with "module":… after "name" for a module inside a document.
// In text and tsv the name of a module inside a document is "path|module".

#include <string>
#include <string_view>

#include "search/search_types.h"

namespace trawlex::cli {

// Appends `text` as a JSON string literal with its quotes. Bytes that are not valid UTF-8
// become U+FFFD, so the output is always valid JSON even for odd file names.
void AppendJsonString(std::string& out, std::string_view text);

// Appends `text` with backslash, tab, line feed and carriage return escaped as for tsv.
void AppendTsvField(std::string& out, std::string_view text);

// Appends `text` with control characters shown as ^X (and C1 controls as U+FFFD), so
// that a line read from a file cannot drive the terminal it is shown on.
void AppendForTerminal(std::string& out, std::string_view text);

struct TextStyle {
    bool colour = false;    // ANSI colours around the fields
    bool terminal = false;  // control characters made visible
};

void AppendTextRow(std::string& out, const ResultRow& row, TextStyle style);
void AppendTsvRow(std::string& out, const ResultRow& row);
void AppendJsonRow(std::string& out, const ResultRow& row);

}  // namespace trawlex::cli
