#include "search/row_spans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/text_decode.h"
#include "search/text_scan.h"
#include "tests/fixtures/region_module.h"

namespace trawlex {
namespace {

using Spans = std::vector<MatchSpan>;

constexpr RegionSet kCode = static_cast<RegionSet>(CodeRegion::Code);
constexpr RegionSet kComment = static_cast<RegionSet>(CodeRegion::Comment);
constexpr RegionSet kString = static_cast<RegionSet>(CodeRegion::String);

std::vector<std::string> Covered(std::string_view content, const Spans& spans) {
    std::vector<std::string> texts;
    for (const MatchSpan& span : spans) {
        texts.emplace_back(content.substr(span.begin, span.end - span.begin));
    }
    return texts;
}

using Texts = std::vector<std::string>;

TEST(RowMatchSpans, AreFoundInTheLineAsReadAndCutToTheContent) {
    const ResultRowView row =
        ResultRowView::OfLine("m", 1, "", "", "    Call needle ' x  ", LineStart::Statement);
    EXPECT_EQ(row.content, "Call needle ' x");
    EXPECT_EQ(RowLine(row), "    Call needle ' x  ");
    SpanFinder finder;
    const MatchOptions regex{SearchMode::Regex, false};
    // The indent belongs to the line the match was found in; only its content part shows.
    EXPECT_EQ(Covered(row.content, RowMatchSpans(finder, row, "^ +Call", regex, kAllRegions)),
              Texts{"Call"});
    EXPECT_EQ(Covered(row.content, RowMatchSpans(finder, row, "x +$", regex, kAllRegions)),
              Texts{"x"});
    // A match only in the trimmed spaces, or of nothing, marks nothing.
    EXPECT_EQ(RowMatchSpans(finder, row, "^ +", regex, kAllRegions), Spans{});
    EXPECT_EQ(RowMatchSpans(finder, row, "^", regex, kAllRegions), Spans{});
    // A line of spaces only.
    const ResultRowView blank = ResultRowView::OfLine("m", 1, "", "", "   ", LineStart::Statement);
    EXPECT_EQ(blank.content, "");
    EXPECT_EQ(RowLine(blank), "   ");
}

TEST(RowMatchSpans, KeepOnlyTheMatchesInTheWantedRegions) {
    SpanFinder finder;
    const MatchOptions plain{SearchMode::Normal, false};
    const ResultRowView row = ResultRowView::OfLine(
        "m", 7, "", "", "  x = needle & \"needle\" ' needle", LineStart::Statement);
    const auto spans = [&](RegionSet wanted) {
        return RowMatchSpans(finder, row, "needle", plain, wanted);
    };
    EXPECT_EQ(spans(kAllRegions), (Spans{{4, 10}, {14, 20}, {24, 30}}));
    EXPECT_EQ(spans(kCode), (Spans{{4, 10}}));
    EXPECT_EQ(spans(kString), (Spans{{14, 20}}));
    EXPECT_EQ(spans(kComment), (Spans{{24, 30}}));
    EXPECT_EQ(spans(kCode | kComment), (Spans{{4, 10}, {24, 30}}));
    EXPECT_EQ(spans(0), Spans{});
    // How the line began counts: the comment of the line before goes on here.
    ResultRowView continued = row;
    continued.start = LineStart::Comment;
    EXPECT_EQ(RowMatchSpans(finder, continued, "needle", plain, kCode), Spans{});
    EXPECT_EQ(RowMatchSpans(finder, continued, "needle", plain, kComment).size(), 3u);
}

// Every row a region-filtered scan keeps shows at least one marked part, and every part
// it shows lies in a wanted region: the rows carry what the scan knew of their lines.
class RowsHost : public ScanHost {
  public:
    RowsHost(RegionSet wanted, bool steady) : wanted_(wanted) { SetSteady(steady); }
    MatchOptions CurrentOptions() const override { return {SearchMode::Normal, false}; }
    RegionSet WantedRegions() const override { return wanted_; }
    void AddRow(ResultRow row) override { rows.push_back(std::move(row)); }
    std::vector<ResultRow> rows;

  private:
    RegionSet wanted_;
};

TEST(RowMatchSpans, AgreeWithTheScanThatKeptTheRows) {
    const std::string cp932 =
        EncodeCp932(std::string(fixtures::kRegionModule) + "    ' 在庫 _\r\n      needle 続き\r\n");
    for (const std::string_view text : {fixtures::kRegionModule, std::string_view(cp932)}) {
        for (const bool steady : {false, true}) {
            for (const RegionSet wanted : {kCode, kComment, kString, kCode | kString}) {
                SCOPED_TRACE(testing::Message() << "steady " << steady << " wanted " << wanted
                                                << (text.size() == cp932.size() ? " cp932" : ""));
                RowsHost host(wanted, steady);
                MatchEngine engine;
                SearchEncodedText(text, "Module1", "needle", host, engine);
                ASSERT_FALSE(host.rows.empty());
                SpanFinder finder;
                for (const ResultRow& row : host.rows) {
                    SCOPED_TRACE(row.line);
                    const Spans shown = RowMatchSpans(finder, row, "needle", {}, wanted);
                    EXPECT_FALSE(shown.empty());
                    const Spans all = RowMatchSpans(finder, row, "needle", {}, kAllRegions);
                    for (const MatchSpan& span : shown) {
                        EXPECT_NE(std::find(all.begin(), all.end(), span), all.end());
                    }
                    if (row.line == 7 && wanted == kCode) {
                        EXPECT_EQ(shown, (Spans{{5, 11}}));  // "Call needle ' needle"
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace trawlex
