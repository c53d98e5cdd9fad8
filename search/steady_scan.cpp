#include "search/steady_scan.h"

#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/avx2.h"
#include "base/cp932_codec.h"
#include "search/encoded_search.h"
#include "search/forward_finder.h"
#include "search/line_feeds.h"
#include "search/proc_locator.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlex {
namespace {

constexpr std::size_t kShortestEnd = 7;  // "End Sub"

// Whether an end keyword ("End Sub", "End Function", "End Property") starts at `at` and ends
// at or before `hi`.
bool EndKeywordAt(std::string_view bytes, std::size_t at, std::size_t hi) {
    const std::string_view rest = bytes.substr(at, hi - at);
    return rest.starts_with("End Sub") || rest.starts_with("End Function") ||
           rest.starts_with("End Property");
}

// The places that may hold an end keyword hold "E" and, three bytes on, a space. These loops
// test 16 or 32 places at a time from the back, down to no lower than `lo`, lowering `end`
// (just past the places still to test) as they go; kNoHit when they find none.
#if defined(__SSE2__)
std::size_t LastEndKeywordSse2(std::string_view bytes, std::size_t lo, std::size_t& end,
                               std::size_t hi) {
    const char* const base = bytes.data();
    const __m128i e = _mm_set1_epi8('E');
    const __m128i space = _mm_set1_epi8(' ');
    while (end >= lo + 16) {
        end -= 16;
        const __m128i at_e = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + end));
        const __m128i at_space = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + end + 3));
        auto bits = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(at_e, e), _mm_cmpeq_epi8(at_space, space))));
        while (bits) {
            const auto top = static_cast<std::size_t>(31 - __builtin_clz(bits));
            if (EndKeywordAt(bytes, end + top, hi)) return end + top;
            bits &= ~(1u << top);
        }
    }
    return kNoHit;
}
#endif

#if TRAWLEX_HAVE_AVX2_PATH
TRAWLEX_AVX2_TARGET std::size_t LastEndKeywordAvx2(std::string_view bytes, std::size_t lo,
                                                   std::size_t& end, std::size_t hi) {
    const char* const base = bytes.data();
    const __m256i e = _mm256_set1_epi8('E');
    const __m256i space = _mm256_set1_epi8(' ');
    while (end >= lo + 32) {
        end -= 32;
        const __m256i at_e = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + end));
        const __m256i at_space =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + end + 3));
        auto bits = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(at_e, e), _mm256_cmpeq_epi8(at_space, space))));
        while (bits) {
            const auto top = static_cast<std::size_t>(31 - __builtin_clz(bits));
            if (EndKeywordAt(bytes, end + top, hi)) return end + top;
            bits &= ~(1u << top);
        }
    }
    return kNoHit;
}
#endif

// The start of the last end keyword that lies wholly in [lo, hi) of `bytes`, or kNoHit.
std::size_t LastEndKeyword(std::string_view bytes, std::size_t lo, std::size_t hi) {
    if (hi < lo + kShortestEnd) return kNoHit;
    // Just past the last place a keyword can start; the loops read up to end + 2 + width.
    std::size_t end = hi - kShortestEnd + 1;
#if TRAWLEX_HAVE_AVX2_PATH
    if (HasAvx2()) {
        if (const std::size_t at = LastEndKeywordAvx2(bytes, lo, end, hi); at != kNoHit) {
            return at;
        }
    }
#endif
#if defined(__SSE2__)
    if (const std::size_t at = LastEndKeywordSse2(bytes, lo, end, hi); at != kNoHit) return at;
#endif
    const char* const base = bytes.data();
    while (end > lo) {
        --end;
        if (base[end] == 'E' && EndKeywordAt(bytes, end, hi)) return end;
    }
    return kNoHit;
}

struct Line {
    std::size_t start = 0;
    std::string_view content;  // without its terminator
    std::size_t next = 0;      // just past its terminator
    bool last = false;         // no line follows
};

// Procedure keywords are ASCII, and ASCII in the text stands as the same bytes in CP932, so
// both searches run over the bytes as they are. A line without a hit cannot change the
// procedure state; a line with one is decoded and tested as the line-by-line scan tests it.
// Without a search for hits (Lines), every line is tested.
class SteadyScan {
  public:
    SteadyScan(std::string_view bytes, ByteEncoding encoding, std::string_view name,
               const ScanRoles& roles)
        : bytes_(bytes), cp932_(encoding == ByteEncoding::Cp932), name_(name), roles_(roles) {}

    // What the lines from here on are searched with; `hits` (null: test every line) must
    // cover the lines that the next Run visits.
    void Use(PreparedSearch& prepared, RequirementSearch* hits) {
        prepared_ = &prepared;
        hits_ = hits;
    }

    // Visits the lines that start in [from, to) and may match; `from` is a line start.
    void Run(std::size_t from, std::size_t to) {
        while (from < to) {
            const std::size_t hit = hits_ ? hits_->Find(from) : from;
            if (hit == kNoHit || hit >= to) return;
            const Line line = LineAt(hit, from);
            // The line decoded once, into a buffer of its own: CatchUp decodes other lines.
            const std::string_view text = DecodedRow(line.content);
            const bool as_it_is = text.data() == line.content.data();  // CP932: ASCII only
            // The procedure state is wanted only for the rows, so it is brought up to the
            // lines that match and no further.
            if ((hits_ && (hits_->HitMatches(hit, line.start, line.content, as_it_is) ||
                           hits_->LineHoldsAscii(text))) ||
                prepared_->MatchLine(text)) {
                LineStart start;
                if (MatchLiesWanted(roles_.options, *prepared_, text, bytes_, line.start, start)) {
                    CatchUp(state_at_, line.start);
                    if (!state_.Inside()) ApplyStartTest(state_, text);
                    roles_.rows.AddRowView(ResultRowView::OfLine(
                        name_, NumberOf(line.start), state_.name, state_.scope, text, start));
                    if (state_.Inside()) ApplyEndTest(state_, text);
                    state_at_ = line.next;
                }
            } else if (prepared_->LastLineUntested()) {
                roles_.rows.LineUntested(name_, NumberOf(line.start));
            }
            if (line.last) return;
            from = line.next;
        }
    }

  private:
    // The line holding byte `at`; `from` is the start of a line at or before it.
    Line LineAt(std::size_t at, std::size_t from) const {
        Line line;
        const char* const base = bytes_.data();
        line.start = from;
        if (at > from) {
            const void* lf = ::memrchr(base + from, '\n', at - from);
            if (lf) line.start = static_cast<std::size_t>(static_cast<const char*>(lf) - base) + 1;
        }
        const std::size_t rest = at < bytes_.size() ? bytes_.size() - at : 0;
        const void* lf = rest ? std::memchr(base + at, '\n', rest) : nullptr;
        std::size_t end = bytes_.size();
        if (lf) {
            end = static_cast<std::size_t>(static_cast<const char*>(lf) - base);
            line.next = end + 1;
        } else {
            line.next = end;
            line.last = true;
        }
        if (lf && end > line.start && base[end - 1] == '\r') --end;
        line.content = bytes_.substr(line.start, end - line.start);
        return line;
    }

    // Brings the procedure state, exact at the line start `from`, to the line start `to`,
    // visiting few lines: after a line whose end test fires the state is outside, and from
    // there the first line that opens a procedure sets it until the next such end line. The
    // nearest end line is found from the back. Only when no line opens a procedure after it
    // does the state depend on the lines before it.
    void CatchUp(std::size_t from, std::size_t to) {
        const std::optional<Line> last_end = LastEndLine(from, to);
        if (!last_end && state_.Inside()) return;  // nothing can end it
        // Outside at `open_from`, and no end test fires from there to `to`.
        const std::size_t open_from = last_end ? last_end->next : from;
        if (const std::optional<Line> opener = FirstOpening(open_from, to)) {
            ApplyStartTest(state_, Decoded(opener->content));
            return;
        }
        if (last_end && ClosesOpenProcedure(from, *last_end)) {
            state_.name.clear();
            state_.scope.clear();
            from = last_end->next;
        }
        // Starts that cut no name still set the scope.
        FollowProcedures(from, to);
    }

    // Whether the end line `end` (starting at or after `from`) closes a procedure, which
    // leaves ("", ""): one was open at it, as one opened after the end line before it (or,
    // with none since `from`, was open at `from`), or it opens one itself.
    bool ClosesOpenProcedure(std::size_t from, const Line& end) {
        if (const std::optional<Line> end_before = LastEndLine(from, end.start)) {
            return FirstOpening(end_before->next, end.next).has_value();
        }
        return state_.Inside() || FirstOpening(from, end.next).has_value();
    }

    // The last line starting in [from, to) whose end test fires; both are line starts.
    std::optional<Line> LastEndLine(std::size_t from, std::size_t to) {
        while (to > from) {
            const std::size_t at = LastEndKeyword(bytes_, from, to);
            if (at == kNoHit) return std::nullopt;
            const Line line = LineAt(at, from);
            if (ClosesProcedure(Decoded(line.content))) return line;
            to = line.start;
        }
        return std::nullopt;
    }

    // The first line starting in [from, to) whose start test opens a procedure.
    std::optional<Line> FirstOpening(std::size_t from, std::size_t to) {
        while (from < to) {
            const std::size_t at = Starts().Find(from);
            if (at >= to) return std::nullopt;  // kNoHit too
            const Line line = LineAt(at, from);
            if (OpensProcedure(Decoded(line.content))) return line;
            if (line.last) return std::nullopt;
            from = line.next;
        }
        return std::nullopt;
    }

    // The procedure tests of the lines that start in [from, to), both line starts.
    void FollowProcedures(std::size_t from, std::size_t to) {
        while (from < to) {
            const bool inside = state_.Inside();
            const std::size_t at = inside ? Ends().Find(from) : Starts().Find(from);
            if (at >= to) return;  // kNoHit too
            const Line line = LineAt(at, from);
            const std::string_view text = Decoded(line.content);
            if (inside) {
                ApplyEndTest(state_, text);
            } else {
                ApplyStartTest(state_, text);
                if (state_.Inside() && Ends().AnyIn(line.start, line.start + line.content.size())) {
                    ApplyEndTest(state_, text);
                }
            }
            if (line.last) return;
            from = line.next;
        }
    }

    // Made when first needed: most texts of a search have no hit.
    AnyBytesFinder& Starts() {
        static const auto keywords = std::make_shared<const NeedleSet>(
            std::vector<std::string>{"Sub ", "Function ", "Property "});
        if (!starts_) starts_.emplace(AnyBytesSearch(bytes_, keywords));
        return *starts_;
    }
    AnyBytesFinder& Ends() {
        static const auto keywords = std::make_shared<const NeedleSet>(
            std::vector<std::string>{"End Sub", "End Function", "End Property"});
        if (!ends_) ends_.emplace(AnyBytesSearch(bytes_, keywords));
        return *ends_;
    }

    std::string_view Decoded(std::string_view content) { return Decoded(content, decoded_); }
    std::string_view DecodedRow(std::string_view content) { return Decoded(content, decoded_row_); }
    std::string_view Decoded(std::string_view content, std::string& into) const {
        if (!cp932_ || IsAscii(content)) return content;
        DecodeCp932(content, into);
        return into;
    }

    // Line numbers are counted only up to the lines that add rows.
    std::int64_t NumberOf(std::size_t line_start) {
        counted_lines_ += static_cast<std::int64_t>(
            CountLineFeeds(bytes_.data() + counted_to_, line_start - counted_to_));
        counted_to_ = line_start;
        return counted_lines_ + 1;
    }

    std::string_view bytes_;
    bool cp932_;
    std::string_view name_;
    const ScanRoles& roles_;
    PreparedSearch* prepared_ = nullptr;
    RequirementSearch* hits_ = nullptr;
    std::size_t state_at_ = 0;  // the line start where state_ holds
    std::optional<AnyBytesFinder> starts_;
    std::optional<AnyBytesFinder> ends_;
    ProcState state_;
    std::string decoded_;
    std::string decoded_row_;
    std::size_t counted_to_ = 0;
    std::int64_t counted_lines_ = 0;
};

// Just past the first line feed at or after `from + stretch - 1`: the end of a stretch of at
// least `stretch` bytes that ends with its line. kNoHit for the last stretch, which runs to
// the end of the text and takes its final empty line along.
std::size_t StretchEnd(std::string_view bytes, std::size_t from, std::size_t stretch) {
    if (stretch == 0 || bytes.size() - from <= stretch) return kNoHit;
    const std::size_t at = from + stretch - 1;
    const void* lf = std::memchr(bytes.data() + at, '\n', bytes.size() - at);
    if (!lf) return kNoHit;
    const auto end = static_cast<std::size_t>(static_cast<const char*>(lf) - bytes.data()) + 1;
    return end < bytes.size() ? end : kNoHit;
}

}  // namespace

bool ScanSteadily(std::string_view bytes, ByteEncoding encoding, std::string_view name,
                  std::string_view search, const ScanRoles& roles, MatchEngine& engine) {
    if (bytes.empty()) return true;  // no lines
    try {
        // A steady control's answers before the first line hold for every line; those of a
        // control with a stretch, for the lines of the stretch.
        ScanControl& control = roles.control;
        const std::size_t stretch = control.Steady() ? 0 : control.SteadyStretch();
        PreparedForOptions prepared_for(engine, search);
        SteadyScan scan(bytes, encoding, name, roles);
        std::unique_ptr<RequirementSearch> hits;
        std::optional<MatchOptions> used;
        bool none = false;  // no line can match under the options in use
        for (std::size_t from = 0;;) {
            control.Yield();
            if (control.StopRequested()) return true;
            const MatchOptions options = roles.options.CurrentOptions();
            PreparedSearch& prepared = prepared_for(options);
            const std::size_t to = StretchEnd(bytes, from, stretch);
            // The hits are looked for only up to the end of the stretch, so a long text
            // without any costs no more per stretch than a short one.
            const std::string_view covered = bytes.substr(0, to);
            if (options != used || stretch > 0) {
                none = prepared.Requirement().kind == LineRequirement::Kind::NoLines;
                hits =
                    none ? nullptr
                         : RequirementSearch::Make(prepared.RequirementPlanFor(encoding), covered);
                // Nothing to look for: before any row the caller scans the decoded text,
                // after one every line of the rest is tested.
                if (!hits && !none && !used) return false;
                used = options;
            }
            if (!none) {
                scan.Use(prepared, hits.get());
                scan.Run(from, to == kNoHit ? bytes.size() + 1 : to);
            }
            if (to == kNoHit) return true;
            from = to;
        }
    } catch (const std::exception&) {
        // A failing text ends quietly; its rows stay.
    }
    return true;
}

}  // namespace trawlex
