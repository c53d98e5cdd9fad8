#include "window/row_filter.h"

#include <algorithm>
#include <charconv>

#include "search/forward_finder.h"
#include "search/text_fold.h"

namespace trawlex::window {
namespace {

// Ends each column, so that a filter text never matches across two columns. Result texts
// are single lines, and a filter text is typed in a one-line box.
constexpr char kColumnEnd = '\n';

}  // namespace

void RowTextIndex::Clear() {
    text_.clear();
    starts_.clear();
}

void RowTextIndex::Append(const ResultRow& row) {
    starts_.push_back(text_.size());
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, row.line).ptr;
    const std::string_view columns[] = {row.name, std::string_view(digits, end - digits),
                                        row.procedure, row.scope, row.content};
    for (std::string_view column : columns) {
        FoldForCompare(column, scratch_);
        text_ += scratch_;
        text_ += kColumnEnd;
    }
}

std::string RowTextIndex::FoldFilter(std::string_view text) {
    std::string folded = FoldForCompare(text);
    std::replace(folded.begin(), folded.end(), kColumnEnd, ' ');
    return folded;
}

bool RowTextIndex::Matches(std::size_t row, std::string_view folded) const {
    if (row >= starts_.size()) return false;
    const std::size_t end = row + 1 < starts_.size() ? starts_[row + 1] : text_.size();
    const std::string_view text = std::string_view(text_).substr(starts_[row], end - starts_[row]);
    return text.find(folded) != std::string_view::npos;
}

void RowTextIndex::MatchAll(std::string_view folded, std::vector<char>& shown) const {
    shown.assign(starts_.size(), folded.empty() ? 1 : 0);
    if (folded.empty()) return;
    // One scan over all rows; after a hit the search goes on at the next row.
    const BytesSearch search(text_, std::string(folded));
    std::size_t row = 0;
    std::size_t at = 0;
    while (at < text_.size()) {
        const std::size_t offset = search(at);
        if (offset == kNoHit) return;
        // Hits come in text order: the row holding one is found by walking on.
        while (row + 1 < starts_.size() && starts_[row + 1] <= offset) ++row;
        shown[row] = 1;
        at = row + 1 < starts_.size() ? starts_[row + 1] : text_.size();
    }
}

}  // namespace trawlex::window
