#include "cli/row_sink.h"

#include <charconv>

namespace trawlex::cli {

RowSink::RowSink(const GrepOptions& options, BufferedOutput& out, TextStyle style)
    : options_(options), out_(out), style_(style) {}

void RowSink::Add(const ResultRow& row) {
    if (options_.count) {
        if (group_rows_ > 0 && row.name != group_) EndGroup();
        if (group_rows_ == 0) group_ = row.name;
        ++group_rows_;
        return;
    }
    const std::string_view search = TrimSpaces(options_.search);
    out_.AppendWith([&](std::string& buffer) {
        switch (options_.format) {
            case OutputFormat::Text:
                AppendTextRow(buffer, row, style_,
                              style_.colour ? spans_.Find(row.content, search, options_.match)
                                            : std::vector<MatchSpan>{});
                break;
            case OutputFormat::Tsv:
                AppendTsvRow(buffer, row);
                break;
            case OutputFormat::Jsonl:
                AppendJsonRow(buffer, row,
                              ContentCodePointSpans(
                                  row.content, spans_.Find(row.content, search, options_.match)));
                break;
        }
    });
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
