#include "search/text_scan.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>

#include "base/cp932_codec.h"
#include "search/encoded_search.h"
#include "search/forward_finder.h"
#include "search/line_cursor.h"
#include "search/proc_locator.h"
#include "search/regex_cache.h"
#include "search/steady_scan.h"
#include "search/text_fold.h"

namespace trawlex {

namespace {

// The one per-line procedure of every scan: yield, stop, start test, match test, end test.
// `lines` tells which lines can skip a test without changing the outcome.
template <typename LineFilter>
void ScanLines(std::string_view text, std::string_view name, std::string_view search,
               const ScanRoles& roles, MatchEngine& engine, LineFilter& lines) {
    try {
        PreparedForOptions prepared_for(engine, search);
        ProcState state;
        LineCursor cursor(text);
        LineRef line;
        std::int64_t number = 0;
        while (cursor.Next(line)) {
            ++number;
            roles.control.Yield();
            if (roles.control.StopRequested()) return;
            PreparedSearch& prepared = prepared_for(roles.options.CurrentOptions());
            if (lines.MayStartProcedure(line) && !state.Inside()) {
                ApplyStartTest(state, line.content);
            }
            if (lines.MayMatch(line, prepared)) {
                if (prepared.MatchLine(line.content)) {
                    LineStart start;
                    if (MatchLiesWanted(roles.options, prepared, line.content, text, line.start,
                                        start)) {
                        roles.rows.AddRowView(ResultRowView::OfLine(
                            name, number, state.name, state.scope, line.content, start));
                    }
                } else if (prepared.LastLineUntested()) {
                    roles.rows.LineUntested(name, number);
                }
            }
            if (lines.MayEndProcedure(line) && state.Inside()) ApplyEndTest(state, line.content);
        }
    } catch (const std::exception&) {
        // A failing text ends quietly; its rows stay.
    }
}

struct EveryLine {
    bool MayStartProcedure(const LineRef&) { return true; }
    bool MayEndProcedure(const LineRef&) { return true; }
    bool MayMatch(const LineRef&, const PreparedSearch&) { return true; }
};

// The candidate lines of the rest of a text (from `origin` on) under one set of options,
// found by running the prepared search's prefilter over the whole rest at once. Lines are counted
// from the plan's first line; only the stretches up to each hit are counted.
class CandidatePlan {
  public:
    CandidatePlan(std::string_view text, std::size_t origin, LinePrefilter filter,
                  MatchOptions options)
        : options_(options), kind_(filter.kind), regex_(std::move(filter.regex)) {
        using Form = LinePrefilter::Form;
        const std::string_view rest = text.substr(origin);
        switch (filter.form) {
            case Form::Raw:
                buffer_ = rest;
                break;
            case Form::Folded:
                FoldForCompare(rest, owned_);
                break;
            case Form::LikeNormalised:
                NormaliseForLike(rest, owned_);
                break;
            case Form::Padded:
                Pad(rest);
                break;
        }
        if (filter.form != Form::Raw) buffer_ = owned_;
        if (kind_ == LinePrefilter::Kind::Substring) {
            bytes_.emplace(buffer_, std::move(filter.needle));
        } else if (kind_ == LinePrefilter::Kind::FoldedAscii) {
            folded_ascii_.emplace(buffer_, filter.needle);
        } else if (kind_ == LinePrefilter::Kind::AnyOf) {
            any_of_.emplace(buffer_, std::move(filter.needles));
        }
    }

    // The searches point into the plan's own buffer.
    CandidatePlan(const CandidatePlan&) = delete;
    CandidatePlan& operator=(const CandidatePlan&) = delete;

    MatchOptions options() const { return options_; }

    // Must be asked for every line, in order, from the line at `origin` on.
    bool MayMatch() {
        const std::size_t line = line_++;
        switch (kind_) {
            case LinePrefilter::Kind::AllLines:
                return true;
            case LinePrefilter::Kind::NoLines:
                return false;
            case LinePrefilter::Kind::Substring:
            case LinePrefilter::Kind::Regex:
            case LinePrefilter::Kind::FoldedAscii:
            case LinePrefilter::Kind::AnyOf:
                break;
        }
        if (hit_line_ == kNoHit || hit_line_ < line) FindNextHit();
        return hit_line_ == line;
    }

  private:
    void Pad(std::string_view rest) {
        owned_.reserve(rest.size() + rest.size() / 16 + 16);
        // A plan starts at a line, so an empty rest is the text's final empty line.
        if (rest.empty()) owned_ = "  \n";
        LineCursor lines(rest);
        LineRef line;
        while (lines.Next(line)) {
            owned_.push_back(' ');
            owned_.append(line.content);
            owned_.append(" \n");
        }
    }

    // Finds the first hit at or after the start of line `search_line_` and the line it is in;
    // the next search starts with the line after that.
    void FindNextHit() {
        if (search_from_ > buffer_.size()) {
            hit_line_ = kNoLine;
            return;
        }
        std::size_t hit = kNoHit;
        if (kind_ == LinePrefilter::Kind::Substring) {
            hit = (*bytes_)(search_from_);
        } else if (kind_ == LinePrefilter::Kind::FoldedAscii) {
            hit = (*folded_ascii_)(search_from_);
        } else if (kind_ == LinePrefilter::Kind::AnyOf) {
            hit = (*any_of_)(search_from_);
        } else {
            hit = NextRegexHit(search_from_);
        }
        if (hit == kNoHit) {
            hit_line_ = kNoLine;
            return;
        }
        const char* const base = buffer_.data();
        hit_line_ = search_line_ +
                    static_cast<std::size_t>(std::count(base + search_from_, base + hit, '\n'));
        const void* lf = std::memchr(base + hit, '\n', buffer_.size() - hit);
        search_from_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) + 1
                          : buffer_.size() + 1;
        search_line_ = hit_line_ + 1;
    }

    std::size_t NextRegexHit(std::size_t from) {
        if (regex_failed_) return from;  // every line is a candidate from here on
        std::size_t start = 0;
        switch (regex_->Find(buffer_, from, start)) {
            case CompiledRegex::FindResult::Found:
                return start;
            case CompiledRegex::FindResult::NotFound:
                return kNoHit;
            case CompiledRegex::FindResult::Failed:
                break;
        }
        regex_failed_ = true;
        return from;
    }

    static constexpr std::size_t kNoLine = static_cast<std::size_t>(-2);

    MatchOptions options_;
    LinePrefilter::Kind kind_;
    std::shared_ptr<CompiledRegex> regex_;
    std::string owned_;
    std::string_view buffer_;
    std::optional<BytesSearch> bytes_;
    std::optional<FoldedAsciiSearch> folded_ascii_;
    std::optional<AnyBytesSearch> any_of_;
    std::size_t line_ = 0;           // the line asked about next
    std::size_t hit_line_ = kNoHit;  // the line of the next hit; kNoLine when none is left
    std::size_t search_from_ = 0;    // where the next search starts: a line start
    std::size_t search_line_ = 0;    // the line that starts there
    bool regex_failed_ = false;
};

// Skips, provably, the tests that cannot change anything on a line: the procedure tests
// change the state only on lines holding their keywords, and MatchLine accepts only lines
// the prefilter lets through.
class PrefilteredLines {
  public:
    explicit PrefilteredLines(std::string_view text)
        : text_(text),
          starts_(AnyBytesSearch(text, {"Sub ", "Function ", "Property "})),
          ends_({text, "End "}) {}

    bool MayStartProcedure(const LineRef& line) {
        return starts_.AnyIn(line.start, line.start + line.content.size());
    }

    bool MayEndProcedure(const LineRef& line) {
        return ends_.AnyIn(line.start, line.start + line.content.size());
    }

    bool MayMatch(const LineRef& line, PreparedSearch& prepared) {
        if (!plan_ || plan_->options() != prepared.Options()) {
            // Options that keep changing make planning cost more than it saves.
            LinePrefilter filter = ++plans_ <= kMaxPlans ? prepared.Prefilter() : LinePrefilter{};
            plan_ = std::make_unique<CandidatePlan>(text_, line.start, std::move(filter),
                                                    prepared.Options());
        }
        return plan_->MayMatch();
    }

  private:
    static constexpr int kMaxPlans = 4;
    std::string_view text_;
    AnyBytesFinder starts_;
    BytesFinder ends_;
    std::unique_ptr<CandidatePlan> plan_;
    int plans_ = 0;
};

}  // namespace

void SearchEncodedText(std::string_view bytes, std::string_view name, std::string_view search,
                       const ScanRoles& roles, MatchEngine& engine) {
    const EncodingChoice choice = roles.options.FileEncoding();
    const bool steady = roles.control.Steady() || roles.control.SteadyStretch() > 0;
    switch (DetectByteEncoding(bytes, choice)) {
        case ByteEncoding::Utf8:
            return SearchText(bytes, name, search, roles, engine);
        case ByteEncoding::Cp932:
            if (steady && Cp932SearchableUndecoded() &&
                ScanSteadily(bytes, ByteEncoding::Cp932, name, search, roles, engine)) {
                return;
            }
            return SearchText(DecodeCp932(bytes), name, search, roles, engine);
        case ByteEncoding::Other:
            break;
    }
    // Valid UTF-8 after a UTF-8 BOM decodes to itself: it is searched where it lies.
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Bom) && IsValidUtf8(bytes.substr(kUtf8Bom.size()))) {
        return SearchText(bytes.substr(kUtf8Bom.size()), name, search, roles, engine);
    }
    SearchText(DecodeText(bytes, choice), name, search, roles, engine);
}

void SearchText(std::string_view text, std::string_view name, std::string_view search,
                const ScanRoles& roles, MatchEngine& engine) {
    if ((roles.control.Steady() || roles.control.SteadyStretch() > 0) &&
        ScanSteadily(text, ByteEncoding::Utf8, name, search, roles, engine)) {
        return;
    }
    PrefilteredLines lines(text);
    ScanLines(text, name, search, roles, engine, lines);
}

void SearchTextLineByLine(std::string_view text, std::string_view name, std::string_view search,
                          const ScanRoles& roles, MatchEngine& engine) {
    EveryLine lines;
    ScanLines(text, name, search, roles, engine, lines);
}

void SearchEncodedText(std::string_view bytes, std::string_view name, std::string_view search,
                       ScanHost& host, MatchEngine& engine) {
    SearchEncodedText(bytes, name, search, ScanRoles(host), engine);
}

void SearchText(std::string_view text, std::string_view name, std::string_view search,
                ScanHost& host, MatchEngine& engine) {
    SearchText(text, name, search, ScanRoles(host), engine);
}

void SearchTextLineByLine(std::string_view text, std::string_view name, std::string_view search,
                          ScanHost& host, MatchEngine& engine) {
    SearchTextLineByLine(text, name, search, ScanRoles(host), engine);
}

}  // namespace trawlex
