#pragma once
// The texts of a result list's rows, folded as plain-text search folds them (case, width,
// kana), kept side by side so that the filter over the list scans one buffer per keystroke
// instead of folding every row again.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_types.h"

namespace trawlex::window {

class RowTextIndex {
  public:
    void Clear();
    // Rows are numbered in the order they are appended.
    void Append(const ResultRow& row);
    std::size_t Size() const { return starts_.size(); }

    // The filter text in the form Matches and MatchAll take.
    static std::string FoldFilter(std::string_view text);

    // Whether the text of any column of row `row` holds `folded`.
    bool Matches(std::size_t row, std::string_view folded) const;
    // shown[i] for every row: Matches(i, folded).
    void MatchAll(std::string_view folded, std::vector<char>& shown) const;

  private:
    std::string text_;                 // every row: its columns, each ended by kColumnEnd
    std::vector<std::size_t> starts_;  // where each row begins in text_
    std::string scratch_;
};

}  // namespace trawlex::window
