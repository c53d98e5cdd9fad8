#pragma once
// How trawlex-grep writes one result row in each output format.
//
// text:  name:line:procedure: content   (for people; see AppendTextRow)
// tsv:   name TAB line TAB procedure TAB scope TAB content; in every field a backslash is
//        written "\\", a tab "\t", a line feed "\n" and a carriage return "\r".
// jsonl: {"name":…,"line":N,"procedure":…,"scope":…,"content":…,"spans":[[start,end],…]} as
//        one line of UTF-8 JSON, with "module":… after "name" for a module inside a
//        document; spans are the matched parts in code points into content (with --in,
//        only those in the named regions).
// In text and tsv the name of a module inside a document is "path|module".

#include <string>
#include <string_view>
#include <vector>

#include "cli/grep_options.h"
#include "search/match_spans.h"
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

// `matches` (all three): byte spans into row.content, left to right; the text format marks
// them when coloured, jsonl gives them as "spans" in code points.
void AppendRow(std::string& out, const ResultRowView& row, OutputFormat format, TextStyle style,
               const std::vector<MatchSpan>& matches = {});
void AppendTextRow(std::string& out, const ResultRowView& row, TextStyle style,
                   const std::vector<MatchSpan>& matches = {});
void AppendTsvRow(std::string& out, const ResultRowView& row);
void AppendJsonRow(std::string& out, const ResultRowView& row,
                   const std::vector<MatchSpan>& matches = {});

// A row in three parts, so that a very long content can be written piece by piece: the
// fields before the content, the content (any split of it into pieces gives the same bytes
// as a whole when the pieces come from NextContentPiece and do not straddle a matched part),
// and the end of the row. `matched`: the piece is (inside) a matched part. `code_point_spans`:
// the matched parts in code points into the content (jsonl).
void AppendRowHead(std::string& out, const ResultRowView& row, OutputFormat format,
                   TextStyle style);
void AppendContentPiece(std::string& out, std::string_view piece, OutputFormat format,
                        TextStyle style, bool matched = false);
void AppendRowTail(std::string& out, OutputFormat format,
                   const std::vector<MatchSpan>& code_point_spans = {});
// Takes about `size` bytes off the front of `content`, ending at a character start.
std::string_view NextContentPiece(std::string_view& content, std::size_t size);

// `content` cut at the edges of `matches` (byte spans, left to right; one that overlaps the
// one before or runs past the end is left out), in order.
struct ContentPart {
    std::string_view text;
    bool matched = false;
};
std::vector<ContentPart> SplitAtMatches(std::string_view content,
                                        const std::vector<MatchSpan>& matches);

}  // namespace trawlex::cli
