#pragma once
// One run of trawlex-grep: every PATH searched with the engine, rows handed to a sink,
// failures reported as they happen.

#include <cstdint>
#include <functional>
#include <string>

#include "cli/grep_options.h"
#include "search/run_status.h"
#include "search/search_types.h"

namespace trawlex::cli {

struct GrepCallbacks {
    std::function<void(const ResultRow&)> row;
    // Receives "エラーが発生しました:" + description for each path, folder or file that fails,
    // each line that could not be tested and an invalid pattern.
    std::function<void(const std::string&)> error;
};

struct GrepOutcome {
    std::int64_t rows = 0;
    bool trouble = false;  // something was reported to `error`: the rows may be incomplete
};

GrepOutcome RunGrep(const GrepOptions& options, const GrepCallbacks& callbacks);

}  // namespace trawlex::cli
