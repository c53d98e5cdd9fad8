#include "search/steady_scan.h"

#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "search/cp932_codec.h"
#include "search/encoded_search.h"
#include "search/forward_finder.h"
#include "search/line_feeds.h"
#include "search/proc_locator.h"

namespace trawlex {
namespace {

struct Line {
    std::size_t start = 0;
    std::string_view content;  // without its terminator
    std::size_t next = 0;      // just past its terminator
    bool last = false;         // no line follows
};

// Procedure keywords are ASCII, and ASCII in the text stands as the same bytes in CP932, so
// both searches run over the bytes as they are. A line without a hit cannot change the
// procedure state; a line with one is decoded and tested as the line-by-line scan tests it.
class SteadyScan {
  public:
    SteadyScan(std::string_view bytes, ByteEncoding encoding, std::string_view name,
               std::string_view search, ScanHost& host, MatchEngine& engine, MatchOptions options,
               RequirementSearch& hits)
        : bytes_(bytes),
          cp932_(encoding == ByteEncoding::Cp932),
          name_(name),
          search_(search),
          host_(host),
          engine_(engine),
          options_(options),
          hits_(hits) {}

    void Run() {
        std::size_t from = 0;  // a line start
        for (;;) {
            const std::size_t hit = hits_.Find(from);
            if (hit == kNoHit) return;
            const Line line = LineAt(hit, from);
            FollowProcedures(from, line.start);
            const std::string_view text = Decoded(line.content);
            if (!state_.Inside() && Starts().AnyIn(line.start, line.start + line.content.size())) {
                ApplyStartTest(state_, text);
            }
            if (engine_.MatchLine(text, search_, options_)) {
                host_.AddRow({std::string(name_), NumberOf(line.start), state_.name, state_.scope,
                              std::string(RowContent(text))});
            }
            if (state_.Inside() && Ends().AnyIn(line.start, line.start + line.content.size())) {
                ApplyEndTest(state_, text);
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

    std::string_view Decoded(std::string_view content) {
        if (!cp932_ || IsAscii(content)) return content;
        DecodeCp932(content, decoded_);
        return decoded_;
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
    std::string_view search_;
    ScanHost& host_;
    MatchEngine& engine_;
    MatchOptions options_;
    RequirementSearch& hits_;
    std::optional<AnyBytesFinder> starts_;
    std::optional<AnyBytesFinder> ends_;
    ProcState state_;
    std::string decoded_;
    std::size_t counted_to_ = 0;
    std::int64_t counted_lines_ = 0;
};

}  // namespace

bool ScanSteadily(std::string_view bytes, ByteEncoding encoding, std::string_view name,
                  std::string_view search, ScanHost& host, MatchEngine& engine) {
    if (bytes.empty()) return true;  // no lines
    try {
        // The host's answers before the first line hold for every line.
        host.Yield();
        if (host.StopRequested()) return true;
        const MatchOptions options = host.CurrentOptions();
        const LineRequirement& required = engine.RequirementFor(search, options);
        if (required.kind == LineRequirement::Kind::NoLines) return true;
        const std::unique_ptr<RequirementSearch> hits =
            RequirementSearch::Make(required, encoding, bytes);
        if (!hits) return false;
        SteadyScan(bytes, encoding, name, search, host, engine, options, *hits).Run();
    } catch (const std::exception&) {
        // A failing text ends quietly; its rows stay.
    }
    return true;
}

}  // namespace trawlex
