#pragma once
// The status texts a search run ends with, shared by every front end.

#include <cstdint>
#include <string>
#include <string_view>

namespace trawlex {

inline constexpr std::string_view kStatusErrorPrefix = "エラーが発生しました:";

// "<rows> 件みつかりました", or "見つかりませんでした" for a run that finished without rows;
// a stopped run reports its count, also when it is 0.
inline std::string RunSummaryText(std::int64_t rows, bool stopped = false) {
    if (rows == 0 && !stopped) return "見つかりませんでした";
    return std::to_string(rows) + " 件みつかりました";
}

}  // namespace trawlex
