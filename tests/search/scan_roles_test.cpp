// The scans driven by three separate objects: rows, control and options.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/text_scan.h"

namespace trawlex {
namespace {

class CollectingRows : public RowSink {
  public:
    void AddRow(ResultRow row) override { rows.push_back(std::move(row)); }
    std::vector<std::int64_t> Lines() const {
        std::vector<std::int64_t> lines;
        for (const ResultRow& row : rows) lines.push_back(row.line);
        return lines;
    }
    std::vector<ResultRow> rows;
};

class SwitchableOptions : public OptionSource {
  public:
    MatchOptions CurrentOptions() const override { return current; }
    MatchOptions current;
};

// Sets the options for each line from a list, one line per Yield; optionally names a stretch.
class SwitchingControl : public ScanControl {
  public:
    SwitchingControl(SwitchableOptions& options, std::vector<MatchOptions> by_line,
                     std::size_t stretch)
        : options_(options), by_line_(std::move(by_line)) {
        SetSteadyStretch(stretch);
    }
    void Yield() override {
        if (next_ < by_line_.size()) options_.current = by_line_[next_];
        ++next_;
    }

  private:
    SwitchableOptions& options_;
    std::vector<MatchOptions> by_line_;
    std::size_t next_ = 0;
};

using ScanFunction = void (*)(std::string_view, std::string_view, std::string_view,
                              const ScanRoles&, MatchEngine&);

TEST(ScanRoles, OptionsSwitchingMidTextApplyFromTheirLineInEveryScan) {
    const std::string text = "ABC x\nABC y\nabc\nxABCx\nxabcx\n(abc)";
    const std::vector<MatchOptions> by_line = {
        {SearchMode::Normal, false},   {SearchMode::Normal, true}, {SearchMode::Regex, true},
        {SearchMode::Wildcard, false}, {SearchMode::Word, true},   {SearchMode::Word, true},
    };
    const std::vector<std::int64_t> expected = {1, 3, 4, 6};
    const ScanFunction fast = &SearchText;
    const ScanFunction line_by_line = &SearchTextLineByLine;
    for (const ScanFunction scan : {fast, line_by_line}) {
        // One byte a stretch: every line is a stretch of its own, searched steadily.
        for (const std::size_t stretch : {std::size_t{0}, std::size_t{1}}) {
            MatchEngine engine;
            CollectingRows rows;
            SwitchableOptions options;
            SwitchingControl control(options, by_line, stretch);
            scan(text, "M", "abc", ScanRoles(rows, control, options), engine);
            EXPECT_EQ(rows.Lines(), expected)
                << (scan == fast ? "fast" : "line by line") << " stretch " << stretch;
        }
    }
}

TEST(ScanRoles, FixedOptionsTellRegionsAndEncodingWhileRowsGoToTheirOwnSink) {
    MatchEngine engine;
    SteadyControl control;
    // "表" in CP932 ends in the byte of "\"; the lines are searched undecoded.
    const std::string cp932 = "Dim a ' \x95\x5C\r\nx = \"\x95\x5C\"\r\n' \x95\x5C\x8E\xA6\r\n";
    CollectingRows comments;
    SearchEncodedText(cp932, "M", "表",
                      ScanRoles(comments, control,
                                FixedOptions({SearchMode::Normal, false},
                                             static_cast<RegionSet>(CodeRegion::Comment))),
                      engine);
    ASSERT_EQ(comments.Lines(), (std::vector<std::int64_t>{1, 3}));
    EXPECT_EQ(comments.rows[0].content, "Dim a ' 表");
    EXPECT_EQ(comments.rows[1].content, "' 表示");

    // UTF-8 "表" read as CP932 is other characters.
    const std::string utf8 = "x = \"表\"\r\n";
    CollectingRows as_utf8;
    SearchEncodedText(utf8, "M", "表",
                      ScanRoles(as_utf8, control, FixedOptions({SearchMode::Normal, false})),
                      engine);
    EXPECT_EQ(as_utf8.Lines(), (std::vector<std::int64_t>{1}));
    CollectingRows as_cp932;
    SearchEncodedText(
        utf8, "M", "表",
        ScanRoles(as_cp932, control,
                  FixedOptions({SearchMode::Normal, false}, kAllRegions, EncodingChoice::Cp932)),
        engine);
    EXPECT_TRUE(as_cp932.rows.empty());
}

}  // namespace
}  // namespace trawlex
