#include "search/text_scan.h"

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "search/forward_finder.h"
#include "search/line_cursor.h"
#include "search/proc_locator.h"
#include "search/regex_cache.h"
#include "search/text_fold.h"

namespace trawlex {
namespace {

std::string_view TrimSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The one per-line procedure of every scan: yield, stop, start test, match test, end test.
// `lines` tells which lines can skip a test without changing the outcome.
template <typename LineFilter>
void ScanLines(std::string_view text, std::string_view name, std::string_view search,
               ScanHost& host, MatchEngine& engine, LineFilter& lines) {
    try {
        ProcState state;
        LineCursor cursor(text);
        LineRef line;
        std::int64_t number = 0;
        while (cursor.Next(line)) {
            ++number;
            host.Yield();
            if (host.StopRequested()) return;
            const MatchOptions options = host.CurrentOptions();
            if (lines.MayStartProcedure(line) && !state.Inside()) {
                ApplyStartTest(state, line.content);
            }
            if (lines.MayMatch(line, options) && engine.MatchLine(line.content, search, options)) {
                host.AddRow({std::string(name), number, state.name, state.scope,
                             std::string(TrimSpaces(line.content))});
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
    bool MayMatch(const LineRef&, MatchOptions) { return true; }
};

// The candidate lines of the rest of a text (from `origin` on) under one set of options,
// found by running the engine's prefilter over the whole rest at once.
class CandidatePlan {
  public:
    CandidatePlan(std::string_view text, std::size_t origin, LinePrefilter filter,
                  MatchOptions options)
        : options_(options), origin_(origin), kind_(filter.kind), regex_(std::move(filter.regex)) {
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
        own_lines_ = filter.form != Form::Raw;
        if (own_lines_) buffer_ = owned_;
        cursor_.emplace(buffer_);
        if (kind_ == LinePrefilter::Kind::Substring) {
            bytes_.emplace(BytesSearch(buffer_, std::move(filter.needle)));
        } else if (kind_ == LinePrefilter::Kind::Regex) {
            regex_hits_.emplace([this](std::size_t from) { return NextRegexHit(from); });
        }
    }

    MatchOptions options() const { return options_; }

    // Must be asked for every line, in order, from the line at `origin` on.
    bool MayMatch(const LineRef& line) {
        std::size_t begin = line.start - origin_;
        std::size_t end = line.next - origin_;
        if (own_lines_) {
            LineRef own;
            if (!cursor_->Next(own)) return true;
            begin = own.start;
            end = own.next;
        }
        // A last line without a terminator owns the very end too (an empty match there).
        if (end == buffer_.size()) ++end;
        switch (kind_) {
            case LinePrefilter::Kind::AllLines:
                return true;
            case LinePrefilter::Kind::NoLines:
                return false;
            case LinePrefilter::Kind::Substring:
                return bytes_->AnyIn(begin, end);
            case LinePrefilter::Kind::Regex:
                return regex_hits_->AnyIn(begin, end);
        }
        return true;
    }

  private:
    void Pad(std::string_view rest) {
        owned_.reserve(rest.size() + rest.size() / 16 + 16);
        LineCursor lines(rest);
        LineRef line;
        while (lines.Next(line)) {
            owned_.push_back(' ');
            owned_.append(line.content);
            owned_.append(" \n");
        }
    }

    std::size_t NextRegexHit(std::size_t from) {
        if (regex_failed_) return from;  // every line is a candidate from here on
        std::size_t start = 0;
        switch (regex_->Find(buffer_, from, utf_checked_, start)) {
            case CompiledRegex::FindResult::Found:
                utf_checked_ = true;
                return start;
            case CompiledRegex::FindResult::NotFound:
                utf_checked_ = true;
                return kNoHit;
            case CompiledRegex::FindResult::Failed:
                break;
        }
        regex_failed_ = true;
        return from;
    }

    MatchOptions options_;
    std::size_t origin_;
    LinePrefilter::Kind kind_;
    std::shared_ptr<CompiledRegex> regex_;
    std::string owned_;
    std::string_view buffer_;
    bool own_lines_ = false;
    std::optional<LineCursor> cursor_;
    std::optional<BytesFinder> bytes_;
    std::optional<ForwardFinder<std::function<std::size_t(std::size_t)>>> regex_hits_;
    bool utf_checked_ = false;
    bool regex_failed_ = false;
};

// Skips, provably, the tests that cannot change anything on a line: the procedure tests
// change the state only on lines holding their keywords, and MatchLine accepts only lines
// the engine's prefilter lets through.
class PrefilteredLines {
  public:
    PrefilteredLines(std::string_view text, std::string_view search, MatchEngine& engine)
        : text_(text),
          search_(search),
          engine_(engine),
          starts_{BytesFinder({text, "Sub "}), BytesFinder({text, "Function "}),
                  BytesFinder({text, "Property "})},
          ends_({text, "End "}) {}

    bool MayStartProcedure(const LineRef& line) {
        const std::size_t end = line.start + line.content.size();
        for (BytesFinder& keyword : starts_) {
            if (keyword.AnyIn(line.start, end)) return true;
        }
        return false;
    }

    bool MayEndProcedure(const LineRef& line) {
        return ends_.AnyIn(line.start, line.start + line.content.size());
    }

    bool MayMatch(const LineRef& line, MatchOptions options) {
        if (!plan_ || plan_->options() != options) {
            // Options that keep changing make planning cost more than it saves.
            LinePrefilter filter =
                ++plans_ <= kMaxPlans ? engine_.PrefilterFor(search_, options) : LinePrefilter{};
            plan_ = std::make_unique<CandidatePlan>(text_, line.start, std::move(filter), options);
        }
        return plan_->MayMatch(line);
    }

  private:
    static constexpr int kMaxPlans = 4;
    std::string_view text_;
    std::string_view search_;
    MatchEngine& engine_;
    std::array<BytesFinder, 3> starts_;
    BytesFinder ends_;
    std::unique_ptr<CandidatePlan> plan_;
    int plans_ = 0;
};

}  // namespace

void SearchText(std::string_view text, std::string_view name, std::string_view search,
                ScanHost& host, MatchEngine& engine) {
    PrefilteredLines lines(text, search, engine);
    ScanLines(text, name, search, host, engine, lines);
}

void SearchTextLineByLine(std::string_view text, std::string_view name, std::string_view search,
                          ScanHost& host, MatchEngine& engine) {
    EveryLine lines;
    ScanLines(text, name, search, host, engine, lines);
}

}  // namespace trawlex
