#include "cli/row_sink.h"

#include <charconv>
#include <utility>

#include "search/row_spans.h"

namespace trawlex::cli {
namespace {

// Rows with a longer content go out piece by piece, so that they are not held twice.
constexpr std::size_t kLongContent = 1 << 20;

// A row with a long content, piece by piece: `with(append)` has each piece appended to the
// buffer where it goes.
template <typename With>
void AppendLongRow(With&& with, const ResultRowView& row, OutputFormat format, TextStyle style,
                   const std::vector<MatchSpan>& matches) {
    with([&](std::string& buffer) { AppendRowHead(buffer, row, format, style); });
    for (const ContentPart& part : SplitAtMatches(row.content, matches)) {
        std::string_view rest = part.text;
        while (!rest.empty()) {
            const std::string_view piece = NextContentPiece(rest, kLongContent);
            with([&](std::string& buffer) {
                AppendContentPiece(buffer, piece, format, style, part.matched);
            });
        }
    }
    with([&](std::string& buffer) {
        AppendRowTail(buffer, format,
                      format == OutputFormat::Jsonl ? CodePointSpans(row.content, matches)
                                                    : std::vector<MatchSpan>{});
    });
}

}  // namespace

RowText::RowText(const GrepOptions& options, TextStyle style) : options_(options), style_(style) {}

void RowText::Append(const ResultRowView& row, std::string& out) {
    const std::vector<MatchSpan> matches = MatchesOf(row);
    if (row.content.size() >= kLongContent) {
        AppendLongRow([&](auto&& append) { append(out); }, row, options_.format, style_, matches);
    } else {
        AppendRow(out, row, options_.format, style_, matches);
    }
}

std::vector<MatchSpan> RowText::MatchesOf(const ResultRowView& row) {
    const bool shown = options_.format == OutputFormat::Jsonl ||
                       (options_.format == OutputFormat::Text && style_.colour);
    if (!shown) return {};
    return RowMatchSpans(spans_, row, TrimSpaces(options_.search), options_.match,
                         options_.WantedRegions());
}

RowSink::RowSink(const GrepOptions& options, BufferedOutput& out, TextStyle style)
    : options_(options), out_(out), style_(style), text_(options, style) {}

void RowSink::Add(const ResultRowView& row) {
    if (options_.count) {
        // A module inside a document counts on its own, named as text rows name it.
        std::string name = RowDisplayName(row.name, row.module);
        if (group_rows_ > 0 && name != group_) EndGroup();
        if (group_rows_ == 0) group_ = std::move(name);
        ++group_rows_;
        return;
    }
    const std::vector<MatchSpan> matches = text_.MatchesOf(row);
    if (row.content.size() >= kLongContent) {
        // Not held twice: the pieces go out as the buffer fills.
        return AppendLongRow([&](auto&& append) { out_.AppendWith(append); }, row, options_.format,
                             style_, matches);
    }
    out_.AppendWith(
        [&](std::string& buffer) { AppendRow(buffer, row, options_.format, style_, matches); });
}

void RowSink::EndGroup() {
    if (group_rows_ == 0) return;
    out_.AppendWith([&](std::string& buffer) {
        if (style_.terminal) {
            AppendForTerminal(buffer, group_);
        } else {
            buffer += group_;
        }
        buffer += ':';
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, group_rows_).ptr;
        buffer.append(digits, end);
        buffer += '\n';
    });
    group_rows_ = 0;
}

}  // namespace trawlex::cli
