#pragma once
// The prepared searches of a run: one PreparedSearch per set of options the run's search
// string is searched under, built when first asked for, and one scratch buffer they share.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "search/prepared_search.h"
#include "search/search_types.h"

namespace trawlex {

class MatchEngine {
  public:
    MatchEngine();
    ~MatchEngine();
    MatchEngine(const MatchEngine&) = delete;
    MatchEngine& operator=(const MatchEngine&) = delete;

    // The search string prepared under `options`. Asking for another search string lets the
    // prepared searches of the one before go; until then the reference stays valid.
    PreparedSearch& Prepared(std::string_view search, MatchOptions options);

    // Prepared(search, options).MatchLine(line), for callers that test a line now and then.
    bool MatchLine(std::string_view line, std::string_view search, MatchOptions options);

    // The LastLineUntested of the prepared search the last MatchLine went to.
    bool LastLineUntested() const;

    // Prepared(search, options).PatternError().
    std::string PatternError(std::string_view search, MatchOptions options);

  private:
    static constexpr std::size_t kOptionSets = 10;  // five modes, binary or not

    std::string search_;
    std::array<std::unique_ptr<PreparedSearch>, kOptionSets> prepared_;
    PreparedSearch* last_ = nullptr;
    std::string scratch_;
};

// The prepared search for the options in force at each line of one text: fetched from the
// engine again only when the options change.
class PreparedForOptions {
  public:
    PreparedForOptions(MatchEngine& engine, std::string_view search)
        : engine_(engine), search_(search) {}

    PreparedSearch& operator()(MatchOptions options) {
        if (!current_ || current_->Options() != options) {
            current_ = &engine_.Prepared(search_, options);
        }
        return *current_;
    }

  private:
    MatchEngine& engine_;
    std::string_view search_;
    PreparedSearch* current_ = nullptr;
};

}  // namespace trawlex
