#pragma once
// Where trawlex-grep's rows go: written in the chosen format, with the matched parts marked,
// or counted per file or module for --count. Rows come in walk order, one at a time, on the
// thread that writes the output, whatever the number of jobs.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/buffered_output.h"
#include "cli/grep_options.h"
#include "cli/grep_run.h"
#include "cli/row_format.h"
#include "search/match_spans.h"

namespace trawlex::cli {

// A row as text in the run's format, with the matched parts marked where the format shows
// them.
class RowText final : public RowWriter {
  public:
    RowText(const GrepOptions& options, TextStyle style);
    void Append(const ResultRowView& row, std::string& out) override;

    // The matched parts of the row's content in the wanted regions, where the format shows
    // them.
    std::vector<MatchSpan> MatchesOf(const ResultRowView& row);

  private:
    const GrepOptions& options_;
    TextStyle style_;
    SpanFinder spans_;
};

class RowSink {
  public:
    RowSink(const GrepOptions& options, BufferedOutput& out, TextStyle style);

    void Add(const ResultRowView& row);

    // Writes the count of the file or module whose rows came last (--count); call before
    // anything else is written, and at the end.
    void EndGroup();

  private:
    const GrepOptions& options_;
    BufferedOutput& out_;
    TextStyle style_;
    RowText text_;
    std::string group_;  // --count: the name whose rows are being counted
    std::int64_t group_rows_ = 0;
};

}  // namespace trawlex::cli
