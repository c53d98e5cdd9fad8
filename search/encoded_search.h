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
#include <unordered_map>
#include <vector>

#include "base/text_decode.h"
#include "search/forward_finder.h"
#include "search/prepared_search.h"

namespace trawlex {

// The first place where one of a set of codes (each of two bytes or more) stands, found 16
// or 32 places at a time by lead byte and second-byte range when the codes share few lead
// bytes.
class PairSetSearch {
  public:
    struct Lead {
        unsigned char lead = 0;
        unsigned char low = 0xFF;  // second-byte range
        unsigned char high = 0;
        std::array<bool, 256> trails{};   // two-byte codes, by their second byte
        std::vector<std::string> longer;  // longer codes
    };
    // The most lead bytes the wide loops filter on.
    static constexpr std::size_t kMaxFilteredLeads = 4;

    PairSetSearch(std::string_view text, const std::vector<std::string>& codes);
    PairSetSearch(std::string_view text, std::shared_ptr<const std::vector<Lead>> leads);
    std::size_t operator()(std::size_t from) const;

    // Whether one of the codes stands at `at`, a place whose next byte is inside the text.
    bool CodeAt(std::size_t at) const;
    const std::vector<Lead>& leads() const { return *leads_; }

  private:
    bool IsCode(const unsigned char* at) const;
    const unsigned char* FindAvx2(const unsigned char*& p, const unsigned char* last) const;

    std::string_view text_;
    std::shared_ptr<const std::vector<Lead>> leads_;  // shared by the texts of a search
};

// What the stand-in search of a lower-case ASCII needle under one fold needs in the bytes
// of one encoding, whatever the text: made once per search and shared by all its texts.
struct StandInPlan {
    using ByteSet = std::array<bool, 256>;

    // Made anew only when the needle, the fold or the encoding differs from the last few
    // asked for on this thread.
    static std::shared_ptr<const StandInPlan> For(std::string_view needle,
                                                  LineRequirement::StandIns stand_ins, bool cp932);

    std::string needle;
    LineRequirement::StandIns stand_ins = LineRequirement::StandIns::Compare;
    bool cp932 = false;
    // The codes of the stand-ins: as a set of strings when one is a single byte, else by
    // lead byte; neither when there is none.
    std::shared_ptr<const NeedleSet> short_codes;
    std::shared_ptr<const std::vector<PairSetSearch::Lead>> leads;
    ByteSet match_bytes{};  // every byte a match can hold (StandInWindow)
    ByteSet in_needle{};
    // StandInSearch::FoldsIntoNeedle's answers by character (an invalid byte is a character
    // of its own), filled in as the texts ask about the same few characters.
    std::shared_ptr<std::unordered_map<char32_t, bool>> answers;
};

// Whether the characters near a place in a text (UTF-8 or CP932 bytes), folded, hold a
// lower-case ASCII needle. A match of the needle in the folded line that takes in the
// character at the place lies within needle-length characters of it on either side, as
// every character that folds to ASCII folds on its own; so when the window holds no match,
// no match in the line takes in that character.
class StandInWindow {
  public:
    StandInWindow(std::string_view bytes, bool cp932, std::string_view needle,
                  LineRequirement::StandIns fold);
    StandInWindow(std::string_view bytes, std::shared_ptr<const StandInPlan> plan);
    // False only when no match of the needle in the folded text takes in the character
    // at `at`, a character start of the text (UTF-8) or any byte (CP932).
    bool MayHoldNeedle(std::size_t at);

  private:
    std::string_view bytes_;
    std::shared_ptr<const StandInPlan> plan_;
    std::string decoded_;
    std::string folded_;
};

// The CP932 codes of the characters that `stand_ins` turns into text holding one of the
// (ASCII) characters of `needle`.
std::vector<std::string> Cp932StandInsFor(std::string_view needle,
                                          LineRequirement::StandIns stand_ins);

// The places of a text (UTF-8 or CP932 bytes) where a character stands whose fold holds
// one of the characters of a lower-case ASCII needle and whose window (StandInWindow) may
// hold the needle.
class StandInSearch {
  public:
    StandInSearch(std::string_view text, std::shared_ptr<const StandInPlan> plan);
    std::size_t operator()(std::size_t from);

    // The codes looked for where they are all of two bytes or more; null otherwise.
    const PairSetSearch* codes() const { return pairs_ ? &*pairs_ : nullptr; }
    // Whether no code is looked for: there is nothing to find.
    bool Empty() const { return !codes_ && !pairs_; }
    // Whether a place where one of the codes stands is a hit.
    bool Accepts(std::size_t at);

  private:
    bool FoldsIntoNeedle(std::size_t at);

    std::string_view text_;
    std::shared_ptr<const StandInPlan> plan_;
    std::optional<AnyBytesSearch> codes_;  // codes, when some are of a single byte
    std::optional<PairSetSearch> pairs_;   // UTF-8 prefixes, or CP932 codes
    StandInWindow window_;
    std::string folded_char_;
};

// What FoldedAsciiSearch filters on 32 places at a time: the needle's two chosen bytes at
// their offsets, in either letter case, and up to kMaxFilteredLeads lead bytes each with the
// range of the byte after it.
struct FoldedAsciiFilter {
    std::size_t r1 = 0, r2 = 0;
    char a_lower = 0, a_upper = 0, b_lower = 0, b_upper = 0;
    unsigned char lead[PairSetSearch::kMaxFilteredLeads] = {};
    unsigned char low[PairSetSearch::kMaxFilteredLeads] = {};
    unsigned char span[PairSetSearch::kMaxFilteredLeads] = {};
};

// Where a lower-case ASCII needle can hit the folded form of a text (UTF-8 or CP932 bytes)
// without folding it: the needle in any ASCII letter case, or a stand-in (StandInSearch).
class FoldedAsciiSearch {
  public:
    FoldedAsciiSearch(std::string_view text, const std::string& needle,
                      LineRequirement::StandIns stand_ins = LineRequirement::StandIns::Compare,
                      bool cp932 = false);
    FoldedAsciiSearch(std::string_view text, std::shared_ptr<const StandInPlan> plan);
    // One pass over the text for both kinds of hit where the processor has AVX2.
    std::size_t operator()(std::size_t from);
    // Whether the needle in some letter case stands at `at`.
    bool NeedleAt(std::size_t at) const { return caseless_.search().At(at); }
    // The same answer from the two searches run apart: the path without AVX2.
    std::size_t Separately(std::size_t from);

  private:
    std::size_t FindTogetherAvx2(std::size_t& from);

    std::string_view text_;
    ForwardFinder<AsciiCaselessSearch> caseless_;
    ForwardFinder<StandInSearch> stand_ins_;
    std::optional<FoldedAsciiFilter> filter_;  // made on the first search
};

// A line requirement as looked for in the bytes of one encoding, whatever the text: made
// once per search and encoding (PreparedSearch::RequirementPlanFor).
struct RequirementPlan {
    RequirementPlan(const LineRequirement& requirement, ByteEncoding encoding);

    // False when the requirement gives nothing to look for in such bytes (Unknown, NoLines,
    // or strings CP932 cannot hold as bytes found here).
    bool usable = false;
    // One of these is looked for; none of them: no line can match.
    std::optional<std::string> exact;
    std::shared_ptr<const NeedleSet> any;
    std::string caseless;  // lower case
    std::shared_ptr<const StandInPlan> folded;

    bool ascii_is_match = false;
    std::size_t ascii_size = 0;
    std::string ascii;  // lower case, where it makes a line match
    bool cp932 = false;
};

class RequirementSearch {
  public:
    // Null when the plan is not usable.
    static std::unique_ptr<RequirementSearch> Make(const RequirementPlan& plan,
                                                   std::string_view bytes);

    // The first hit at or after `from`, or kNoHit.
    std::size_t Find(std::size_t from);

    // Whether the line `content` (starting at `line_start`) that holds the hit `at` matches
    // for sure, so that it need not be tested: the requirement's ASCII makes a line match,
    // and the hit is that ASCII, wholly inside the line and, in CP932, in an ASCII line.
    // `ascii_or_utf8`: the line is UTF-8, or CP932 holding only ASCII (the caller has
    // decoded it, and knows).
    bool HitMatches(std::size_t at, std::size_t line_start, std::string_view content,
                    bool ascii_or_utf8);

    // Whether a line of the decoded text matches for sure as it holds the requirement's
    // ASCII, where that makes a line match.
    bool LineHoldsAscii(std::string_view line) const;

  private:
    explicit RequirementSearch(const RequirementPlan& plan) : plan_(plan) {}

    const RequirementPlan& plan_;

    std::optional<BytesFinder> exact_;
    std::optional<AnyBytesFinder> any_;
    std::optional<ForwardFinder<AsciiCaselessSearch>> caseless_;
    std::optional<ForwardFinder<FoldedAsciiSearch>> folded_;
};

}  // namespace trawlex
