#pragma once
// The texts of a result list's rows, folded as plain-text search folds them (case, width,
// kana), kept side by side so that the filter over the list scans one buffer per keystroke
// instead of folding every row again. A text that rows share (the name of a module or file,
// a procedure, a scope) is kept and searched once for all of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
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
    static constexpr int kSharedColumns = 3;  // name, procedure, scope

    // The number of a shared text, kept folded on first sight.
    int SharedId(int column, std::string_view text);

    std::string text_;                 // every row: its line number and content, folded
    std::vector<std::size_t> starts_;  // where each row begins in text_
    std::vector<std::array<int, kSharedColumns>> shared_;  // per row: its shared texts
    std::string sharedText_;                               // every shared text, folded
    std::vector<std::size_t> sharedStarts_;                // where each begins in sharedText_
    std::unordered_map<std::string, int> sharedIds_;       // by the text as the row has it
    // The text each column saw last, and its number (-1 before the first): neighbouring
    // rows mostly share them.
    std::array<std::string, kSharedColumns> lastText_;
    std::array<int, kSharedColumns> lastId_{-1, -1, -1};
    std::string scratch_;
};

// The rows that recent filter texts showed, so that taking keys back (a text typed a moment
// before) needs no new search of every row.
class RecentFilters {
  public:
    // Texts kept, each as one bit per row (a million rows: 125 kB).
    static constexpr std::size_t kKept = 64;

    // Keeps `shown` (per row of the index) as what `folded` shows.
    void Remember(std::string_view folded, const std::vector<char>& shown);
    // Sets `shown` to what `folded` shows over the rows of `index` when the text was kept
    // (rows appended since are looked at one by one); false when it was not.
    bool Recall(const RowTextIndex& index, std::string_view folded, std::vector<char>& shown);
    void Clear() { entries_.clear(); }

  private:
    struct Entry {
        std::string folded;
        std::vector<std::uint64_t> bits;  // per row, from the low bit of the first word
        std::size_t rows = 0;
    };
    std::deque<Entry> entries_;  // the newest first
};

}  // namespace trawlex::window
