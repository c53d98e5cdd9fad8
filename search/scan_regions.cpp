// The scans' region test: a matching line counts when one of its matches lies where the
// host wants it (code, comment, string).
#include "search/text_scan.h"

namespace trawlex {

bool MatchLiesWanted(const ScanHost& host, MatchEngine& engine, std::string_view line,
                     std::string_view search, MatchOptions options, std::string_view text,
                     std::size_t line_start, LineStart& start) {
    start = LineStart::Statement;
    const RegionSet wanted = host.WantedRegions() & kAllRegions;
    if (wanted == kAllRegions) return true;
    if (wanted == 0) return false;
    start = LineStartAt(text, line_start);
    const std::vector<MatchSpan> spans = engine.Spans().Find(line, search, options);
    return !SpansIn(spans, line, start, wanted).empty();
}

}  // namespace trawlex
