#pragma once
// MatchLine: does one line match the search string under the given options?
// Compiled patterns (regular expressions, Like patterns, folded needles) are cached per
// (search string, options) so that calling once per line costs no recompilation.

#include <memory>
#include <string_view>

#include "search/search_types.h"

namespace trawlex {

class MatchEngine {
public:
    MatchEngine();
    ~MatchEngine();
    MatchEngine(const MatchEngine&) = delete;
    MatchEngine& operator=(const MatchEngine&) = delete;

    // `line` is one line without its terminator, untrimmed; `search` is the run's search
    // string. Any failure (invalid pattern) is a non-match.
    bool MatchLine(std::string_view line, std::string_view search, MatchOptions options);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace trawlex
