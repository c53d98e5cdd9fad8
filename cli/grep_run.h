#pragma once
// One run of trawlex-grep: every PATH searched with the engine, rows handed to a sink and
// failures reported in walk order.

#include <cstdint>
#include <functional>
#include <string>

#include "cli/grep_options.h"
#include "search/run_status.h"
#include "search/search_types.h"

namespace trawlex::cli {

// Called on the thread that called RunGrep, in walk order.
struct GrepCallbacks {
    std::function<void(const ResultRowView&)> row;
    // Receives "エラーが発生しました:" + description for each path, folder or file that fails,
    // each line that could not be tested and an invalid pattern.
    std::function<void(const std::string&)> error;
};

struct GrepOutcome {
    std::int64_t rows = 0;
    bool trouble = false;  // something was reported to `error`: the rows may be incomplete
};

// Files are searched `options.jobs` at a time (one per processor for 0); what the callbacks
// receive is the same for any number.
GrepOutcome RunGrep(const GrepOptions& options, const GrepCallbacks& callbacks);

}  // namespace trawlex::cli
