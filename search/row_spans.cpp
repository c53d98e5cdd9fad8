#include "search/row_spans.h"

#include <algorithm>

namespace trawlex {

std::string RowLine(const ResultRowView& row) {
    std::string line(row.lead_spaces, ' ');
    line += row.content;
    line.append(row.trail_spaces, ' ');
    return line;
}

std::vector<MatchSpan> RowMatchSpans(SpanFinder& finder, const ResultRowView& row,
                                     std::string_view search, MatchOptions options,
                                     RegionSet wanted) {
    std::string owned;
    std::string_view line = row.content;
    if (row.lead_spaces > 0 || row.trail_spaces > 0) {
        owned = RowLine(row);
        line = owned;
    }
    const std::vector<MatchSpan> spans =
        SpansIn(finder.Find(line, search, options), line, row.start, wanted);
    std::vector<MatchSpan> parts;
    parts.reserve(spans.size());
    const std::size_t offset = row.lead_spaces;
    const std::size_t end = offset + row.content.size();
    for (const MatchSpan& span : spans) {
        const std::size_t begin = std::clamp(span.begin, offset, end) - offset;
        const std::size_t finish = std::clamp(span.end, offset, end) - offset;
        if (begin < finish) parts.push_back({begin, finish});
    }
    return parts;
}

}  // namespace trawlex
