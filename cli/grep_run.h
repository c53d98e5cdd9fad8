#pragma once
// One run of trawlex-grep: every PATH searched with the engine, rows written out in walk
// order, failures reported in their place.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "cli/grep_options.h"
#include "search/run_status.h"
#include "search/search_types.h"

namespace trawlex::cli {

struct GrepCallbacks {
    // Appends one row in the output format; called on the searching threads at once.
    std::function<void(std::string&, const ResultRowView&)> format;
    // Receives the formatted rows, in walk order, on the thread that called RunGrep.
    std::function<void(std::string_view)> rows;
    // Receives "エラーが発生しました:" + description for each path, folder or file that fails,
    // after the rows found before it; on the thread that called RunGrep.
    std::function<void(const std::string&)> error;
};

// Returns the number of rows found. Files are searched `options.jobs` at a time (one per
// processor for 0); what the callbacks receive is the same for any number.
std::int64_t RunGrep(const GrepOptions& options, const GrepCallbacks& callbacks);

}  // namespace trawlex::cli
