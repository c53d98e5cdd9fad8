#pragma once
// The matched parts a result row shows highlighted (the window's list, trawlex-grep's
// colours and jsonl "spans"), told by the same rule that kept the row: the matches in the
// line as the scan read it, and of those only the ones in the wanted regions (code, comment,
// string).

#include <string>
#include <string_view>
#include <vector>

#include "search/match_spans.h"
#include "search/search_types.h"
#include "search/vb_code_regions.h"

namespace trawlex {

// The line a row was read from: its content with the spaces taken off its ends put back.
std::string RowLine(const ResultRowView& row);

// The matches of `search` in RowLine(row) that begin in a region of `wanted`, as byte
// offsets into row.content, clipped to it; parts empty there are left out.
std::vector<MatchSpan> RowMatchSpans(SpanFinder& finder, const ResultRowView& row,
                                     std::string_view search, MatchOptions options,
                                     RegionSet wanted);

}  // namespace trawlex
