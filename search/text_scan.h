#pragma once
// SearchText: the one text scan every search area feeds its module or file texts into.

#include <string_view>

#include "search/match_engine.h"
#include "search/search_types.h"

namespace trawlex {

// What the caller of a scan provides. Called on the scanning thread.
class ScanHost {
public:
    virtual ~ScanHost() = default;
    // Called before every line; must be cheap when it has nothing to do.
    virtual void Yield() {}
    virtual bool StopRequested() const { return false; }
    // Read before every line's match test, so a change applies from the next line.
    virtual MatchOptions CurrentOptions() const = 0;
    virtual void AddRow(ResultRow row) = 0;
};

// Splits `text` into lines (CR LF, or a lone LF; a lone CR does not split), tracks the
// enclosing procedure and adds one row per matching line.
// Searches the whole text ahead of the lines where it can, and still calls the host before
// every line exactly as the line-by-line scan does; the rows are the same.
void SearchText(std::string_view text, std::string_view name, std::string_view search,
                ScanHost& host, MatchEngine& engine);

// The plain scan: every line through the procedure tests and MatchLine. The reference
// that SearchText must agree with.
void SearchTextLineByLine(std::string_view text, std::string_view name, std::string_view search,
                          ScanHost& host, MatchEngine& engine);

}  // namespace trawlex
