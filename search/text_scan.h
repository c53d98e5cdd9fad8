#pragma once
// SearchText: the one text scan every search area feeds its module or file texts into.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/text_decode.h"
#include "search/match_engine.h"
#include "search/search_types.h"
#include "search/vb_code_regions.h"

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
    // Where in a line a match must lie for the line to count (code, comment, string);
    // read for every matching line.
    virtual RegionSet WantedRegions() const { return kAllRegions; }
    // What the scans call: the texts are valid only during the call. A host that copies
    // them anyway need not override it.
    virtual void AddRowView(const ResultRowView& row) { AddRow(row.ToRow()); }
    // How files without a BOM are read (SearchEncodedText).
    virtual EncodingChoice FileEncoding() const { return EncodingChoice::Auto; }
    // A line the match engine could not test within the work allowed for one line
    // (MatchEngine::LastLineUntested); it added no row.
    virtual void LineUntested(std::string_view /*name*/, std::int64_t /*line*/) {}

    // A steady host's Yield does nothing, and its StopRequested and CurrentOptions give the
    // same answers for the length of a text. A scan may then call them once per text
    // instead of before every line, and search the text without walking its lines; the rows
    // are the same. A host that yields to an event loop or can be stopped mid-text is not
    // steady.
    bool Steady() const { return steady_; }

    // A host whose answers can change only inside its own Yield (it pumps an event loop
    // there) gives the same ones from one Yield to the next. Such a host may name a stretch,
    // in bytes: a scan then calls Yield, StopRequested and CurrentOptions before the first
    // line of each stretch of text (at least that many bytes, up to a line end; the last one
    // to the end of the text) instead of before every line, and searches each stretch the
    // way it searches a steady host's text; the rows are the same. 0: before every line.
    std::size_t SteadyStretch() const { return steady_stretch_; }

  protected:
    void SetSteady(bool steady) { steady_ = steady; }
    void SetSteadyStretch(std::size_t bytes) { steady_stretch_ = bytes; }

  private:
    bool steady_ = false;
    std::size_t steady_stretch_ = 0;
};

// Whether a line that matches counts under the host's wanted regions. `line` is the line
// decoded; it begins at byte `line_start` of `text`, which is UTF-8 or CP932. `start` is
// set to how the line begins where the regions were told (else to Statement), for its row.
bool MatchLiesWanted(const ScanHost& host, MatchEngine& engine, std::string_view line,
                     std::string_view search, MatchOptions options, std::string_view text,
                     std::size_t line_start, LineStart& start);

// Splits `text` into lines (CR LF, or a lone LF; a lone CR does not split), tracks the
// enclosing procedure and adds one row per matching line.
// Searches the whole text ahead of the lines where it can, and still calls the host before
// every line exactly as the line-by-line scan does (before every stretch, for a host that
// names one); the rows are the same.
void SearchText(std::string_view text, std::string_view name, std::string_view search,
                ScanHost& host, MatchEngine& engine);

// SearchText over the text that `bytes` (a file's contents) decode to by DecodeText's rules.
// CP932 bytes are searched as they are where that gives the same rows, which spares decoding
// all but the lines it visits.
void SearchEncodedText(std::string_view bytes, std::string_view name, std::string_view search,
                       ScanHost& host, MatchEngine& engine);

// The plain scan: every line through the procedure tests and MatchLine. The reference
// that SearchText must agree with.
void SearchTextLineByLine(std::string_view text, std::string_view name, std::string_view search,
                          ScanHost& host, MatchEngine& engine);

}  // namespace trawlex
