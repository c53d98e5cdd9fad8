// The scans' region test: a matching line counts when one of its matches lies where the
// options want it (code, comment, string).
#include "search/text_scan.h"

namespace trawlex {

bool MatchLiesWanted(const OptionSource& options, PreparedSearch& prepared, std::string_view line,
                     std::string_view text, std::size_t line_start, LineStart& start) {
    start = LineStart::Statement;
    const RegionSet wanted = options.WantedRegions() & kAllRegions;
    if (wanted == kAllRegions) return true;
    if (wanted == 0) return false;
    start = LineStartAt(text, line_start);
    return !SpansIn(prepared.Spans(line), line, start, wanted).empty();
}

}  // namespace trawlex
