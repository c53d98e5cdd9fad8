#include "search/match_engine.h"

namespace trawlex {

MatchEngine::MatchEngine() = default;
MatchEngine::~MatchEngine() = default;

PreparedSearch& MatchEngine::Prepared(std::string_view search, MatchOptions options) {
    if (search != search_) {
        for (auto& prepared : prepared_) prepared.reset();
        last_ = nullptr;
        search_.assign(search);
    }
    const auto mode = static_cast<std::size_t>(options.mode);
    const std::size_t slot = (mode * 2 + (options.binary ? 1 : 0)) % kOptionSets;
    std::unique_ptr<PreparedSearch>& prepared = prepared_[slot];
    if (!prepared || prepared->Options() != options) {
        prepared = std::make_unique<PreparedSearch>(search_, options, &scratch_);
    }
    return *prepared;
}

bool MatchEngine::MatchLine(std::string_view line, std::string_view search, MatchOptions options) {
    last_ = &Prepared(search, options);
    return last_->MatchLine(line);
}

bool MatchEngine::LastLineUntested() const {
    return last_ && last_->LastLineUntested();
}

std::string MatchEngine::PatternError(std::string_view search, MatchOptions options) {
    return Prepared(search, options).PatternError();
}

}  // namespace trawlex
