#pragma once
// The three parts a scan's caller plays: where rows go (RowSink), whether and when the scan
// stops (ScanControl) and which options hold (OptionSource). A command-line run can pass a
// fixed set of options and a writer; a window can pass its own pieces, or one ScanHost that
// plays all three. Every call comes on the scanning thread.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/text_decode.h"
#include "search/search_types.h"
#include "search/vb_code_regions.h"

namespace trawlex {

class RowSink {
  public:
    virtual ~RowSink() = default;
    virtual void AddRow(ResultRow row) = 0;
    // What the scans call: the texts are valid only during the call. A sink that copies
    // them anyway need not override it.
    virtual void AddRowView(const ResultRowView& row) { AddRow(row.ToRow()); }
    // A line the match engine could not test within the work allowed for one line
    // (PreparedSearch::LastLineUntested); it added no row.
    virtual void LineUntested(std::string_view /*name*/, std::int64_t /*line*/) {}
};

class ScanControl {
  public:
    virtual ~ScanControl() = default;
    // Called before every line; must be cheap when it has nothing to do.
    virtual void Yield() {}
    virtual bool StopRequested() const { return false; }

    // A steady control's Yield does nothing, and its StopRequested and the options in force
    // give the same answers for the length of a text. A scan may then ask them once per
    // text instead of before every line, and search the text without walking its lines;
    // the rows are the same. A control that yields to an event loop or can be stopped
    // mid-text is not steady.
    bool Steady() const { return steady_; }

    // A control whose answers (and the options in force) can change only inside its own
    // Yield (it pumps an event loop there) gives the same ones from one Yield to the next.
    // Such a control may name a stretch, in bytes: a scan then calls Yield, StopRequested
    // and reads the options before the first line of each stretch of text (at least that
    // many bytes, up to a line end; the last one to the end of the text) instead of before
    // every line, and searches each stretch the way it searches a steady text; the rows are
    // the same. 0: before every line.
    std::size_t SteadyStretch() const { return steady_stretch_; }

  protected:
    void SetSteady(bool steady) { steady_ = steady; }
    void SetSteadyStretch(std::size_t bytes) { steady_stretch_ = bytes; }

  private:
    bool steady_ = false;
    std::size_t steady_stretch_ = 0;
};

class OptionSource {
  public:
    virtual ~OptionSource() = default;
    // Read before every line's match test, so a change applies from the next line.
    virtual MatchOptions CurrentOptions() const = 0;
    // Where in a line a match must lie for the line to count (code, comment, string);
    // read for every matching line.
    virtual RegionSet WantedRegions() const { return kAllRegions; }
    // How files without a BOM are read (SearchEncodedText).
    virtual EncodingChoice FileEncoding() const { return EncodingChoice::Auto; }
};

// Options that stay as they are given, for a caller that never changes them mid-run.
class FixedOptions final : public OptionSource {
  public:
    explicit FixedOptions(MatchOptions match, RegionSet wanted = kAllRegions,
                          EncodingChoice encoding = EncodingChoice::Auto)
        : match_(match), wanted_(wanted), encoding_(encoding) {}
    MatchOptions CurrentOptions() const override { return match_; }
    RegionSet WantedRegions() const override { return wanted_; }
    EncodingChoice FileEncoding() const override { return encoding_; }

  private:
    MatchOptions match_;
    RegionSet wanted_;
    EncodingChoice encoding_;
};

// A control that never yields nor stops: every text is searched whole, steadily.
class SteadyControl final : public ScanControl {
  public:
    SteadyControl() { SetSteady(true); }
};

// One object playing all three parts.
class ScanHost : public RowSink, public ScanControl, public OptionSource {};

// The three parts a scan is given.
struct ScanRoles {
    ScanRoles(RowSink& rows, ScanControl& control, const OptionSource& options)
        : rows(rows), control(control), options(options) {}
    ScanRoles(ScanHost& host)  // NOLINT: a host plays every part wherever parts are asked for
        : ScanRoles(host, host, host) {}

    RowSink& rows;
    ScanControl& control;
    const OptionSource& options;
};

}  // namespace trawlex
