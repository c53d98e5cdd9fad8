#pragma once
// One run of trawlex-grep: every PATH searched with the engine, rows handed to a sink and
// failures reported in walk order.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "cli/grep_options.h"
#include "search/run_status.h"
#include "search/search_types.h"

namespace trawlex::cli {

// Called on the thread that called RunGrep, in walk order.
// Writes rows as text; a writer serves one thread at a time.
class RowWriter {
  public:
    virtual ~RowWriter() = default;
    virtual void Append(const ResultRowView& row, std::string& out) = 0;
};

struct GrepCallbacks {
    std::function<void(const ResultRowView&)> row;
    // When both are set and several threads search, each thread writes the rows it finds as
    // text with a writer of its own (`writer` makes one), and `text` receives those texts in
    // walk order instead of `row` receiving the rows: the writing is shared out too.
    std::function<std::unique_ptr<RowWriter>()> writer;
    std::function<void(std::string_view)> text;
    // Receives "エラーが発生しました:" + description for each path, folder or file that fails,
    // each line that could not be tested and an invalid pattern.
    std::function<void(const std::string&)> error;
};

struct GrepOutcome {
    std::int64_t rows = 0;
    bool trouble = false;  // something was reported to `error`: the rows may be incomplete
};

// Files are searched `options.jobs` at a time (one per processor for 0); what the callbacks
// receive is the same for any number. They are called one at a time, in walk order; with
// several jobs, on the searching threads.
GrepOutcome RunGrep(const GrepOptions& options, const GrepCallbacks& callbacks);

}  // namespace trawlex::cli
