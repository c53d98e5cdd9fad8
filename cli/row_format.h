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

#include "cli/grep_options.h"
#include "search/search_types.h"

namespace trawlex::cli {

// Appends `text` as a JSON string literal with its quotes. Bytes that are not valid UTF-8
// become U+FFFD, so the output is always valid JSON even for odd file names.
void AppendJsonString(std::string& out, std::string_view text);
// The characters of a JSON string literal, without its quotes.
void AppendJsonCharacters(std::string& out, std::string_view text);

// Appends `text` with backslash, tab, line feed and carriage return escaped as for tsv.
void AppendTsvField(std::string& out, std::string_view text);

// Appends `text` with control characters shown as ^X (and C1 controls as U+FFFD), so
// that a line read from a file cannot drive the terminal it is shown on.
void AppendForTerminal(std::string& out, std::string_view text);

struct TextStyle {
    bool colour = false;    // ANSI colours around the fields
    bool terminal = false;  // control characters made visible
};

void AppendTextRow(std::string& out, const ResultRowView& row, TextStyle style);
void AppendTsvRow(std::string& out, const ResultRowView& row);
void AppendJsonRow(std::string& out, const ResultRowView& row);
// `style` applies to the text format only.
void AppendRow(std::string& out, const ResultRowView& row, OutputFormat format, TextStyle style);

// A row in three parts, so that a very long content can be written piece by piece: the
// fields before the content, the content (any split of it into pieces gives the same bytes
// as a whole when the pieces come from NextContentPiece), and the end of the row.
void AppendRowHead(std::string& out, const ResultRowView& row, OutputFormat format,
                   TextStyle style);
void AppendContentPiece(std::string& out, std::string_view piece, OutputFormat format,
                        TextStyle style);
void AppendRowTail(std::string& out, OutputFormat format);
// Takes about `size` bytes off the front of `content`, ending at a character start.
std::string_view NextContentPiece(std::string_view& content, std::size_t size);

}  // namespace trawlex::cli
