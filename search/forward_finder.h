#pragma once
// Forward-only searches over one text that remember their last answer, so that asking
// "is there a hit in this line?" line after line costs about one pass over the text.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace trawlex {

inline constexpr std::size_t kNoHit = static_cast<std::size_t>(-1);

// `Search(from)` returns the first hit at or after `from`, or kNoHit.
template <typename Search>
class ForwardFinder {
  public:
    explicit ForwardFinder(Search search) : search_(std::move(search)) {}

    std::size_t Find(std::size_t from) {
        // The last answer holds for every `from` between the last search start and it.
        if (searched_ && searched_from_ <= from && (found_ == kNoHit || found_ >= from)) {
            return found_;
        }
        searched_ = true;
        searched_from_ = from;
        found_ = search_(from);
        return found_;
    }

    // Whether a hit starts in [begin, end).
    bool AnyIn(std::size_t begin, std::size_t end) { return Find(begin) < end; }

  private:
    Search search_;
    bool searched_ = false;
    std::size_t searched_from_ = 0;
    std::size_t found_ = kNoHit;
};

// A fixed byte string in a text.
class BytesSearch {
  public:
    BytesSearch(std::string_view text, std::string needle)
        : text_(text), needle_(std::move(needle)) {}

    std::size_t operator()(std::size_t from) const {
        if (from > text_.size() || needle_.size() > text_.size() - from) return kNoHit;
        const void* hit =
            memmem(text_.data() + from, text_.size() - from, needle_.data(), needle_.size());
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data())
                   : kNoHit;
    }

  private:
    std::string_view text_;
    std::string needle_;
};

using BytesFinder = ForwardFinder<BytesSearch>;

}  // namespace trawlex
