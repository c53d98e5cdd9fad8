#pragma once
// Looks for what a matching line must hold (LineRequirement) in the bytes of a text, UTF-8 or
// CP932, without decoding them. Every line of the decoded text that holds it has a hit in the
// same line of the bytes; a hit may also fall in a line that does not hold it.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/forward_finder.h"
#include "search/match_engine.h"
#include "base/text_decode.h"

namespace trawlex {

// Where a lower-case ASCII needle can hit the folded form of a UTF-8 text without folding
// it: the needle in any letter case, or a character whose fold holds one of the needle's
// characters (`like` picks NormaliseForLike over FoldForCompare).
class FoldedAsciiSearch {
  public:
    FoldedAsciiSearch(std::string_view text, std::string needle, bool like = false);
    std::size_t operator()(std::size_t from);

  private:
    std::size_t NextStandIn(std::size_t from);
    bool FoldsIntoNeedle(std::size_t at);

    std::string_view text_;
    bool like_;
    ForwardFinder<AsciiCaselessSearch> caseless_;
    AnyBytesFinder stand_ins_;
    std::array<bool, 256> in_needle_{};
    std::string folded_char_;
};

// The first place where one of a set of two-byte codes stands, found 16 places at a time by
// lead byte and trail range when the codes share few lead bytes.
class PairSetSearch {
  public:
    PairSetSearch(std::string_view text, const std::vector<std::string>& pairs);
    std::size_t operator()(std::size_t from) const;

  private:
    struct Lead {
        unsigned char lead = 0;
        unsigned char low = 0xFF;  // trail range
        unsigned char high = 0;
        std::array<bool, 256> trails{};
    };
    bool IsCode(const unsigned char* at) const;
    const unsigned char* FindAvx2(const unsigned char*& p, const unsigned char* last) const;

    std::string_view text_;
    std::vector<Lead> leads_;
};

class RequirementSearch {
  public:
    // Null when the requirement gives nothing to look for in such bytes (Unknown, NoLines,
    // or strings CP932 cannot hold as bytes found here).
    static std::unique_ptr<RequirementSearch> Make(const LineRequirement& requirement,
                                                   ByteEncoding encoding, std::string_view bytes);

    // The first hit at or after `from`, or kNoHit.
    std::size_t Find(std::size_t from);

  private:
    RequirementSearch() = default;

    std::optional<BytesFinder> exact_;
    std::optional<AnyBytesFinder> any_;
    std::optional<ForwardFinder<AsciiCaselessSearch>> caseless_;
    std::optional<ForwardFinder<FoldedAsciiSearch>> folded_;
    std::optional<ForwardFinder<PairSetSearch>> pairs_;
};

}  // namespace trawlex
