#pragma once
// SearchText: the one text scan every search area feeds its module or file texts into.

#include <cstddef>
#include <string_view>

#include "search/match_engine.h"
#include "search/scan_roles.h"
#include "search/search_types.h"

namespace trawlex {

// Whether a line that matches counts under the wanted regions of `options`. `line` is the
// line decoded; it begins at byte `line_start` of `text`, which is UTF-8 or CP932. `start` is
// set to how the line begins where the regions were told (else to Statement), for its row.
bool MatchLiesWanted(const OptionSource& options, PreparedSearch& prepared, std::string_view line,
                     std::string_view text, std::size_t line_start, LineStart& start);

// Splits `text` into lines (CR LF, or a lone LF; a lone CR does not split), tracks the
// enclosing procedure and adds one row per matching line.
// Searches the whole text ahead of the lines where it can, and still calls the control and
// reads the options before every line exactly as the line-by-line scan does (before every
// stretch, for a control that names one); the rows are the same. Each scan takes the three
// roles, or one ScanHost playing them all.
void SearchText(std::string_view text, std::string_view name, std::string_view search,
                const ScanRoles& roles, MatchEngine& engine);
void SearchText(std::string_view text, std::string_view name, std::string_view search,
                ScanHost& host, MatchEngine& engine);

// SearchText over the text that `bytes` (a file's contents) decode to by DecodeText's rules.
// CP932 bytes are searched as they are where that gives the same rows, which spares decoding
// all but the lines it visits.
void SearchEncodedText(std::string_view bytes, std::string_view name, std::string_view search,
                       const ScanRoles& roles, MatchEngine& engine);
void SearchEncodedText(std::string_view bytes, std::string_view name, std::string_view search,
                       ScanHost& host, MatchEngine& engine);

// The plain scan: every line through the procedure tests and MatchLine. The reference
// that SearchText must agree with.
void SearchTextLineByLine(std::string_view text, std::string_view name, std::string_view search,
                          const ScanRoles& roles, MatchEngine& engine);
void SearchTextLineByLine(std::string_view text, std::string_view name, std::string_view search,
                          ScanHost& host, MatchEngine& engine);

}  // namespace trawlex
