#pragma once
// Forward-only searches over one text that remember their last answer, so that asking
// "is there a hit in this line?" line after line costs about one pass over the text.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

    Search& search() { return search_; }
    const Search& search() const { return search_; }

  private:
    Search search_;
    bool searched_ = false;
    std::size_t searched_from_ = 0;
    std::size_t found_ = kNoHit;
};

// A fixed byte string in a text: places holding the needle's two rarest bytes at their
// offsets are found 16 at a time, then compared in full.
class BytesSearch {
  public:
    BytesSearch(std::string_view text, std::string needle);

    std::size_t operator()(std::size_t from) const;

  private:
    std::string_view text_;
    std::string needle_;
    std::pair<std::size_t, std::size_t> pair_;  // the needle bytes filtered on
};

using BytesFinder = ForwardFinder<BytesSearch>;

// Several byte strings (each at least one byte) prepared for AnyBytesSearch; one set serves
// any number of texts.
struct NeedleSet {
    explicit NeedleSet(std::vector<std::string> strings);
    std::vector<std::string> needles;
    std::vector<std::pair<std::size_t, std::size_t>> pairs;  // bytes filtered on, per needle
    std::size_t shortest = 0;
    std::size_t longest = 0;
    bool shared_second = false;  // same offsets everywhere, same byte at the second
};

// The first place where any of several byte strings stands.
class AnyBytesSearch {
  public:
    AnyBytesSearch(std::string_view text, std::vector<std::string> needles);
    AnyBytesSearch(std::string_view text, std::shared_ptr<const NeedleSet> needles);

    std::size_t operator()(std::size_t from) const;

  private:
    std::string_view text_;
    std::shared_ptr<const NeedleSet> set_;
};

using AnyBytesFinder = ForwardFinder<AnyBytesSearch>;

// An ASCII string, ignoring ASCII letter case, in a text: `lower_needle` is lower case.
class AsciiCaselessSearch {
  public:
    AsciiCaselessSearch(std::string_view text, std::string lower_needle);

    std::size_t operator()(std::size_t from) const;

    // Whether the needle stands at `at`.
    bool At(std::size_t at) const;
    const std::string& needle() const { return needle_; }
    // The two needle bytes a search filters on.
    std::pair<std::size_t, std::size_t> filtered() const { return pair_; }

  private:
    std::string_view text_;
    std::string needle_;
    std::pair<std::size_t, std::size_t> pair_;
};

}  // namespace trawlex
