#include "search/text_scan.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace trawlex {
namespace {

using Row = std::tuple<std::string, std::int64_t, std::string, std::string, std::string>;

class RecordingHost : public ScanHost {
  public:
    void Yield() override {
        ++yields;
        if (on_yield) on_yield(yields, *this);
    }
    bool StopRequested() const override { return stop; }
    MatchOptions CurrentOptions() const override { return options; }
    void AddRow(ResultRow row) override {
        if (fail_on_row && rows.size() + 1 == static_cast<std::size_t>(fail_on_row)) {
            throw std::runtime_error("list is gone");
        }
        rows.emplace_back(row.name, row.line, row.procedure, row.scope, row.content);
    }

    MatchOptions options{SearchMode::Normal, false};
    bool stop = false;
    int fail_on_row = 0;  // throw when adding this (1-based) row
    std::int64_t yields = 0;
    std::function<void(std::int64_t line, RecordingHost&)> on_yield;
    std::vector<Row> rows;
};

using ScanFunction = void (*)(std::string_view, std::string_view, std::string_view, ScanHost&,
                              MatchEngine&);
const ScanFunction kFastScan = &SearchText;
const ScanFunction kLineByLineScan = &SearchTextLineByLine;

// Every behaviour holds for the fast scan and for the line-by-line reference.
class TextScanTest : public ::testing::TestWithParam<ScanFunction> {
  protected:
    std::vector<Row> Scan(std::string_view text, std::string_view search, RecordingHost& host) {
        GetParam()(text, "Module1", search, host, engine_);
        return host.rows;
    }
    std::vector<Row> Scan(std::string_view text, std::string_view search,
                          MatchOptions options = {SearchMode::Normal, false}) {
        RecordingHost host;
        host.options = options;
        return Scan(text, search, host);
    }
    MatchEngine engine_;
};

constexpr MatchOptions kRegex{SearchMode::Regex, false};

TEST_P(TextScanTest, LinesEndAtCrLfOrLoneLf) {
    const auto count_lines = [&](std::string_view text) {
        RecordingHost host;
        Scan(text, "x", host);
        return host.yields;
    };
    EXPECT_EQ(count_lines(""), 0);
    EXPECT_EQ(count_lines("a"), 1);
    EXPECT_EQ(count_lines("a\r\nb\r\n"), 3);
    EXPECT_EQ(count_lines("a\nb"), 2);
    EXPECT_EQ(count_lines("a\rb\rc"), 1);
    EXPECT_EQ(count_lines("\n\r\n\n"), 4);

    const std::vector<Row> rows = Scan("a1\r\na2\na3\ra4\r\r\n", "a", kRegex);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(std::get<1>(rows[0]), 1);
    EXPECT_EQ(std::get<4>(rows[0]), "a1");
    EXPECT_EQ(std::get<4>(rows[1]), "a2");
    EXPECT_EQ(std::get<1>(rows[2]), 3);
    EXPECT_EQ(std::get<4>(rows[2]), "a3\ra4\r");
}

TEST_P(TextScanTest, FinalEmptyLineIsScannedAndCanMatch) {
    const std::vector<Row> rows = Scan("a\r\n\r\nb\r\n", "^$", kRegex);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::get<1>(rows[0]), 2);
    EXPECT_EQ(std::get<1>(rows[1]), 4);
}

TEST_P(TextScanTest, RowsCarryNameNumberAndSpaceTrimmedContent) {
    const std::vector<Row> rows = Scan("x\r\n   Foo = 1   \r\n\tfoo \r\n", "foo");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], Row("Module1", 2, "(Declarations)", "", "Foo = 1"));
    EXPECT_EQ(rows[1], Row("Module1", 3, "(Declarations)", "", "\tfoo"));
}

TEST_P(TextScanTest, ProcedureColumnsFollowStartAndEndLines) {
    const std::string text =
        "Option Explicit ' x\r\n"
        "Private Sub Foo() ' x\r\n"
        "  a = 1 ' x\r\n"
        "End Sub ' x\r\n"
        "' x between\r\n"
        "Public Function Bar(ByVal n As Long) As Long ' x\r\n"
        "End Function ' x\r\n"
        "Friend Property Get Value() As Long ' x\r\n"
        "End Property ' x\r\n"
        "Sub Baz(): End Sub ' x\r\n"
        "x after\r\n";
    const std::vector<Row> rows = Scan(text, "x");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"(Declarations)", ""},
        {"Foo", "Private"},
        {"Foo", "Private"},
        {"Foo", "Private"},
        {"", ""},
        {"Bar", "Public"},
        {"Bar", "Public"},
        {"Get Value", "Friend"},
        {"Get Value", "Friend"},
        {"Baz", "Global"},
        {"", ""},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(std::get<1>(rows[i]), static_cast<std::int64_t>(i + 1));
        EXPECT_EQ(std::get<2>(rows[i]), expected[i].first) << "line " << i + 1;
        EXPECT_EQ(std::get<3>(rows[i]), expected[i].second) << "line " << i + 1;
    }
}

TEST_P(TextScanTest, StartWithoutParenthesisDoesNotEndTheScan) {
    const std::vector<Row> rows = Scan("Dim mySub As Long\r\nhit\r\nSub Go()\r\nhit\r\n", "hit");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::get<1>(rows[0]), 2);
    EXPECT_EQ(std::get<2>(rows[1]), "Go");
}

TEST_P(TextScanTest, StopEndsTheScanBeforeTheNextLine) {
    RecordingHost host;
    host.on_yield = [](std::int64_t line, RecordingHost& h) { h.stop = line == 3; };
    const std::vector<Row> rows = Scan("hit\r\nhit\r\nhit\r\nhit\r\n", "hit", host);
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(host.yields, 3);
}

TEST_P(TextScanTest, OptionsChangedDuringTheScanApplyFromTheNextLine) {
    RecordingHost host;
    host.on_yield = [](std::int64_t line, RecordingHost& h) {
        if (line == 3) h.options = {SearchMode::Normal, true};
        if (line == 5) h.options = {SearchMode::Regex, false};
        if (line == 7) h.options = {SearchMode::Hidemaru, false};
    };
    const std::vector<Row> rows = Scan("ABC\nabc\nABC\nabc\nxaBc\nabc\nabc\n", "abc", host);
    std::vector<std::int64_t> lines;
    for (const Row& row : rows) lines.push_back(std::get<1>(row));
    EXPECT_EQ(lines, (std::vector<std::int64_t>{1, 2, 4, 5, 6}));
}

TEST_P(TextScanTest, OptionsSwitchedOnTheFinalEmptyLine) {
    // "Foo " in word mode has an empty alternative, which the padded empty line matches.
    RecordingHost host;
    host.on_yield = [](std::int64_t line, RecordingHost& h) {
        if (line == 2) h.options = {SearchMode::Word, false};
    };
    const std::vector<Row> rows = Scan("a\r\n", "Foo ", host);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(std::get<1>(rows[0]), 2);
}

TEST_P(TextScanTest, AFailingHostEndsTheTextQuietlyKeepingItsRows) {
    RecordingHost host;
    host.fail_on_row = 3;
    EXPECT_NO_THROW(Scan("hit\nhit\nhit\nhit\n", "hit", host));
    EXPECT_EQ(host.rows.size(), 2u);
    EXPECT_EQ(host.yields, 3);
}

TEST_P(TextScanTest, JapaneseAndWidthInsensitiveRows) {
    const std::string text = "' ﾃﾞｰﾀを読む\r\nx = \"データ\"\r\ny = \"テスト\"\r\n";
    EXPECT_EQ(Scan(text, "データ").size(), 2u);
    EXPECT_EQ(Scan(text, "テ").size(), 1u);
    EXPECT_EQ(Scan(text, "でーた", {SearchMode::Wildcard, false}).size(), 2u);
    EXPECT_EQ(Scan(text, "データ", {SearchMode::Normal, true}).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothScans, TextScanTest, ::testing::Values(kFastScan, kLineByLineScan),
                         [](const auto& info) {
                             return info.param == kFastScan ? std::string("Fast")
                                                            : std::string("LineByLine");
                         });

// The fast scan must give exactly the rows of the line-by-line scan.
class FastScanEquivalence : public ::testing::Test {
  protected:
    static std::string RandomText(std::mt19937& rng) {
        static const std::vector<std::string> pieces = {
            "Sub ",
            "Function ",
            "Property Get ",
            "End Sub",
            "End Function",
            "End Property",
            "Private ",
            "Public ",
            "Rem ",
            "' ",
            "Declare ",
            "(",
            ")",
            " ",
            "  ",
            "Foo",
            "foo",
            "FOO",
            "Ｆｏｏ",
            "bar",
            "a",
            "b",
            "x",
            "1",
            "_",
            "|",
            "[",
            "*",
            "?",
            "#",
            "-",
            "データ",
            "ﾃﾞｰﾀ",
            "でーた",
            "テ",
            "ガ",
            "ｶﾞ",
            "が",
            "か",
            "ﾞ",
            "\u3000",
            "Σσ",
            "Дд",
            "\r\n",
            "\r\n",
            "\r\n",
            "\n",
            "\r",
            "\t",
            "\xff",
            "\u212A",
            "\u017F",
            "ＳＵＢ",
            "ｆＯｏ",
            "ｱ",
            "ÉCOLE",
            "表示",
            "件数",
            "表示件数",
            "ﾊ",
            "ﾟ",
            "\u3099",
            "パ",
            "ヴ",
        };
        std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
        std::uniform_int_distribution<int> length(0, 200);
        std::string text;
        for (int i = length(rng); i > 0; --i) text += pieces[piece(rng)];
        return text;
    }

    // One engine per scan for the whole test, so that its caches see many searches.
    std::vector<Row> Run(ScanFunction scan, std::string_view text, std::string_view search,
                         MatchOptions first, std::int64_t switch_line, MatchOptions second) {
        RecordingHost host;
        host.options = first;
        host.on_yield = [&](std::int64_t line, RecordingHost& h) {
            if (line == switch_line) h.options = second;
        };
        scan(text, "M", search, host, scan == kFastScan ? fast_engine_ : slow_engine_);
        return host.rows;
    }

    MatchEngine fast_engine_;
    MatchEngine slow_engine_;
};

TEST_F(FastScanEquivalence, RandomTextsEveryModeAndFlag) {
    const std::vector<std::string> searches = {
        "foo",   "Foo",      "ｆｏｏ", "データ", "テ",     "ｶﾞ",      "が",
        " ",     "Sub ",     "End",    "a b",    "x\r",    "f*o",     "?a",
        "#",     "[a-c]",    "[!a]*",  "[",      "[z-a]",  "*ﾃﾞ*",    "^Sub",
        "Sub$",  "^$",       "$",      "x*",     "[^a]+b", "foo|bar", "\\bfoo\\b",
        "(?=f)", "(?<!a)b",  "\\Afoo", "foo\\z", "\\w+",   "a.b",     ".",
        "(",     "\\u0046",  "[^x]*$", "Σ",      "д",      "sub k",   "f　o",
        "école", "表示件数", "示件",   "ｶﾞ表",   "パ",     "ゔ",      "ー",
    };
    std::mt19937 rng(20261207);
    int compared = 0;
    for (int round = 0; round < 40; ++round) {
        const std::string text = RandomText(rng);
        for (const std::string& search : searches) {
            for (int mode = 0; mode <= 4; ++mode) {
                for (bool binary : {false, true}) {
                    const MatchOptions options{static_cast<SearchMode>(mode), binary};
                    const MatchOptions other{static_cast<SearchMode>((mode + round) % 5),
                                             (round % 2) == 0};
                    const std::int64_t switch_line = round % 7;
                    const auto slow =
                        Run(&SearchTextLineByLine, text, search, options, switch_line, other);
                    const auto fast = Run(&SearchText, text, search, options, switch_line, other);
                    ASSERT_EQ(fast, slow) << "search [" << search << "] mode " << mode << " binary "
                                          << binary << " text [" << text << "]";
                    ++compared;
                }
            }
        }
    }
    EXPECT_EQ(compared, 40 * 49 * 10);
}

TEST_F(FastScanEquivalence, OptionsChangingOnEveryLine) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        const std::string text = RandomText(rng);
        const auto run = [&](ScanFunction scan) {
            RecordingHost host;
            host.on_yield = [](std::int64_t line, RecordingHost& h) {
                h.options = {static_cast<SearchMode>(line % 4), line % 3 == 0};
            };
            MatchEngine engine;
            scan(text, "M", "foo", host, engine);
            return host.rows;
        };
        ASSERT_EQ(run(&SearchText), run(&SearchTextLineByLine)) << text;
    }
}

}  // namespace
}  // namespace trawlex
