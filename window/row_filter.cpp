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

std::string_view Entry(std::string_view text, const std::vector<std::size_t>& starts,
                       std::size_t i) {
    const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
    return text.substr(starts[i], end - starts[i]);
}

// Marks every entry of `text` (entries begin at `starts`) that holds `folded`, in one scan
// that goes on at the next entry after a hit and starts past entries marked already.
void MarkHolding(std::string_view text, const std::vector<std::size_t>& starts,
                 std::string_view folded, std::vector<char>& marks) {
    const std::size_t count = starts.size();
    std::size_t entry = 0;
    const BytesSearch search(text, std::string(folded));
    for (;;) {
        while (entry < count && marks[entry]) ++entry;
        if (entry == count) return;
        const std::size_t offset = search(starts[entry]);
        if (offset == kNoHit) return;
        // Hits come in text order: the entry holding one is found by walking on.
        while (entry + 1 < count && starts[entry + 1] <= offset) ++entry;
        marks[entry++] = 1;
    }
}

}  // namespace

void RowTextIndex::Clear() {
    text_.clear();
    starts_.clear();
    shared_.clear();
    sharedText_.clear();
    sharedStarts_.clear();
    sharedIds_.clear();
    for (std::string& text : lastText_) text.clear();
    lastId_ = {-1, -1, -1};
}

int RowTextIndex::SharedId(int column, std::string_view text) {
    if (lastId_[column] >= 0 && text == lastText_[column]) return lastId_[column];
    const auto [it, added] =
        sharedIds_.try_emplace(std::string(text), static_cast<int>(sharedStarts_.size()));
    if (added) {
        sharedStarts_.push_back(sharedText_.size());
        FoldForCompare(text, scratch_);
        sharedText_ += scratch_;
        sharedText_ += kColumnEnd;
    }
    lastText_[column].assign(text);
    lastId_[column] = it->second;
    return it->second;
}

void RowTextIndex::Append(const ResultRow& row) {
    shared_.push_back({SharedId(0, row.name), SharedId(1, row.procedure), SharedId(2, row.scope)});
    starts_.push_back(text_.size());
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, row.line).ptr;
    text_.append(digits, end);
    text_ += kColumnEnd;
    FoldForCompare(row.content, scratch_);
    text_ += scratch_;
    text_ += kColumnEnd;
}

std::string RowTextIndex::FoldFilter(std::string_view text) {
    std::string folded = FoldForCompare(text);
    std::replace(folded.begin(), folded.end(), kColumnEnd, ' ');
    return folded;
}

bool RowTextIndex::Matches(std::size_t row, std::string_view folded) const {
    if (row >= starts_.size()) return false;
    for (const int id : shared_[row]) {
        if (Entry(sharedText_, sharedStarts_, static_cast<std::size_t>(id)).find(folded) !=
            std::string_view::npos) {
            return true;
        }
    }
    return Entry(text_, starts_, row).find(folded) != std::string_view::npos;
}

void RowTextIndex::MatchAll(std::string_view folded, std::vector<char>& shown) const {
    shown.assign(starts_.size(), folded.empty() ? 1 : 0);
    if (folded.empty()) return;
    // The shared texts first: a row one of them holds is shown without a look at its own.
    std::vector<char> sharedHolds(sharedStarts_.size(), 0);
    MarkHolding(sharedText_, sharedStarts_, folded, sharedHolds);
    if (std::find(sharedHolds.begin(), sharedHolds.end(), 1) != sharedHolds.end()) {
        for (std::size_t row = 0; row < shared_.size(); ++row) {
            const auto& ids = shared_[row];
            shown[row] =
                static_cast<char>(sharedHolds[ids[0]] | sharedHolds[ids[1]] | sharedHolds[ids[2]]);
        }
    }
    MarkHolding(text_, starts_, folded, shown);
}

void RecentFilters::Remember(std::string_view folded, const std::vector<char>& shown) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->folded == folded) {
            entries_.erase(it);
            break;
        }
    }
    if (entries_.size() == kKept) entries_.pop_back();
    Entry entry{std::string(folded), std::vector<std::uint64_t>((shown.size() + 63) / 64, 0),
                shown.size()};
    for (std::size_t row = 0; row < shown.size(); ++row) {
        entry.bits[row / 64] |= static_cast<std::uint64_t>(shown[row] != 0) << (row % 64);
    }
    entries_.push_front(std::move(entry));
}

bool RecentFilters::Recall(const RowTextIndex& index, std::string_view folded,
                           std::vector<char>& shown) {
    for (const Entry& entry : entries_) {
        if (entry.folded != folded) continue;
        shown.resize(index.Size());
        const std::size_t kept = std::min(entry.rows, shown.size());
        for (std::size_t row = 0; row < kept; ++row) {
            shown[row] = static_cast<char>((entry.bits[row / 64] >> (row % 64)) & 1);
        }
        // Rows appended since the text was kept.
        for (std::size_t row = kept; row < shown.size(); ++row) {
            shown[row] = index.Matches(row, folded);
        }
        return true;
    }
    return false;
}

}  // namespace trawlex::window
