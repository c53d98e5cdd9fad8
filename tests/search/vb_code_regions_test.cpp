#include "search/vb_code_regions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_decode.h"
#include "search/text_scan.h"
#include "tests/fixtures/region_module.h"

namespace trawlex {
namespace {

// One letter per byte: c code, m comment, s string; the last for the place after the end.
std::string RegionMap(std::string_view line, LineStart start = LineStart::Statement) {
    std::string map;
    for (CodeRegion region : LineRegions(line, start)) {
        map += region == CodeRegion::Code ? 'c' : region == CodeRegion::Comment ? 'm' : 's';
    }
    return map;
}

TEST(LineRegions, TellsCodeCommentsAndStringsApart) {
    EXPECT_EQ(RegionMap("x = 1 ' y"), "ccccccmmmm");
    EXPECT_EQ(RegionMap("s = \"a'b\" 'c"), "ccccssssscmmm");
    // "" is a quote inside the string, not its end.
    EXPECT_EQ(RegionMap("\"a\"\"b\"c"),
              "ssssssc"
              "c");
    EXPECT_EQ(RegionMap("\"open"), "ssssss");
    EXPECT_EQ(RegionMap("  Rem note"), "ccmmmmmmmmm");
    EXPECT_EQ(RegionMap("x = 1: REM note"), "cccccccmmmmmmmmm");
    // Rem only as a statement: not inside one, not as part of a name.
    EXPECT_EQ(RegionMap("Remark = 1"), "ccccccccccc");
    EXPECT_EQ(RegionMap("x = Rem"), "cccccccc");
    EXPECT_EQ(RegionMap("Rem", LineStart::Continued), "cccc");
    EXPECT_EQ(RegionMap("x", LineStart::Comment), "mm");
}

TEST(LineRegions, RemIsACommentWhereverAStatementBegins) {
    // After a line number or a label at the start of the line.
    EXPECT_EQ(RegionMap("10 Rem note"), "cccmmmmmmmmm");
    EXPECT_EQ(RegionMap("  20\tREM"), "cccccmmmm");
    EXPECT_EQ(RegionMap("Start: Rem x"), "cccccccmmmmmm");
    // After Then and Else of a single-line If, and an Else of its own.
    EXPECT_EQ(RegionMap("If x Then Rem note"), "ccccccccccmmmmmmmmm");
    EXPECT_EQ(RegionMap("If x Then y = 1 Else rem z"),
              "ccccccccccccccccccccc"
              "mmmmmm");
    EXPECT_EQ(RegionMap("Else Rem"), "cccccmmmm");
    EXPECT_EQ(RegionMap("x = 1:Rem"), "ccccccmmmm");
    // A comment ends the line whatever follows the keyword, but only a whole word is one.
    EXPECT_EQ(RegionMap("Rem:x"), "mmmmmm");
    EXPECT_EQ(RegionMap("Rem_1 = 2"), "cccccccccc");
    EXPECT_EQ(RegionMap("x.Rem 1"), "cccccccc");
    EXPECT_EQ(RegionMap("If x Then Remark = 1"), "ccccccccccccccccccccc");
    EXPECT_EQ(RegionMap("y = xThen Rem"), "cccccccccccccc");
    EXPECT_EQ(RegionMap("s = \"Then\" Rem"), "ccccssssssccccc");
    // A number is a line number only at the start of a line that begins a statement.
    EXPECT_EQ(RegionMap("x = 10 Rem"), "ccccccccccc");
    EXPECT_EQ(RegionMap("10 Rem", LineStart::Continued), "ccccccc");
}

TEST(LineRegions, KeywordsInsideCp932CharactersAreNotTakenForWords) {
    // The second byte of a CP932 character may be an ASCII letter: "コ" is 83 52 ('R') and
    // "サ" is 83 54 ('T'). Only a blank, ':' or the line's start tells where a word may
    // begin.
    EXPECT_EQ(RegionMap("10 \x83Rem"), "cccccccc");
    EXPECT_EQ(RegionMap("x = \x83"
                        "Then Rem"),
              "cccccccccccccc");
    EXPECT_EQ(RegionMap("x = 1: \x83Rem"), "cccccccccccc");
    EXPECT_EQ(RegionMap(EncodeCp932("If 在庫 Then Rem 注記")), "cccccccccccccmmmmmmmmm");
}

TEST(LineRegions, CommentsContinueOntoTheNextLineWithSpaceUnderscore) {
    EXPECT_EQ(NextLineStart("x = 1 ' note _", LineStart::Statement), LineStart::Comment);
    EXPECT_EQ(NextLineStart("Rem note _  ", LineStart::Statement), LineStart::Comment);
    EXPECT_EQ(NextLineStart("x = 1 + _", LineStart::Statement), LineStart::Continued);
    EXPECT_EQ(NextLineStart("' note_", LineStart::Statement), LineStart::Statement);
    EXPECT_EQ(NextLineStart("more _", LineStart::Comment), LineStart::Comment);

    const std::string text = "' one _\r\n two _\r\n three\r\nx = 1 _\r\n  Rem\r\nRem";
    const auto start_of = [&](std::string_view line) { return text.find(line); };
    EXPECT_EQ(LineStartAt(text, 0), LineStart::Statement);
    EXPECT_EQ(LineStartAt(text, start_of(" two")), LineStart::Comment);
    EXPECT_EQ(LineStartAt(text, start_of(" three")), LineStart::Comment);
    EXPECT_EQ(LineStartAt(text, start_of("x = 1")), LineStart::Statement);
    EXPECT_EQ(LineStartAt(text, start_of("  Rem")), LineStart::Continued);
    EXPECT_EQ(LineStartAt(text, text.rfind("Rem")), LineStart::Statement);
}

class RegionHost : public ScanHost {
  public:
    explicit RegionHost(RegionSet wanted, bool steady) : wanted_(wanted) { SetSteady(steady); }
    MatchOptions CurrentOptions() const override { return {SearchMode::Normal, false}; }
    RegionSet WantedRegions() const override { return wanted_; }
    void AddRow(ResultRow row) override { lines.push_back(row.line); }
    std::vector<std::int64_t> lines;

  private:
    RegionSet wanted_;
};

constexpr RegionSet kCode = static_cast<RegionSet>(CodeRegion::Code);
constexpr RegionSet kComment = static_cast<RegionSet>(CodeRegion::Comment);
constexpr RegionSet kString = static_cast<RegionSet>(CodeRegion::String);

using fixtures::kRegionModule;

std::vector<std::int64_t> ScanLines(std::string_view text, RegionSet wanted, bool steady) {
    RegionHost host(wanted, steady);
    MatchEngine engine;
    SearchEncodedText(text, "Module1", "needle", host, engine);
    return host.lines;
}

TEST(RegionFilteredScan, KeepsLinesWithAMatchInTheWantedRegions) {
    for (const bool steady : {false, true}) {
        SCOPED_TRACE(steady ? "steady scan" : "line by line");
        using Lines = std::vector<std::int64_t>;
        EXPECT_EQ(ScanLines(kRegionModule, kAllRegions, steady), (Lines{1, 2, 3, 5, 6, 7}));
        EXPECT_EQ(ScanLines(kRegionModule, kCode, steady), (Lines{1, 7}));
        EXPECT_EQ(ScanLines(kRegionModule, kComment, steady), (Lines{2, 3, 5, 7}));
        EXPECT_EQ(ScanLines(kRegionModule, kString, steady), (Lines{6}));
        EXPECT_EQ(ScanLines(kRegionModule, kString | kCode, steady), (Lines{1, 6, 7}));
    }
}

TEST(RegionFilteredScan, ReadsCp932FilesTheSameWay) {
    const std::string bytes = EncodeCp932(
        "' 日本語のコメント _\r\n"
        "  ﾆｰﾄﾞﾙ needle 続き\r\n"
        "x = \"ソ needle\" ' 表\r\n");
    ASSERT_EQ(DetectByteEncoding(bytes), ByteEncoding::Cp932);
    for (const bool steady : {false, true}) {
        SCOPED_TRACE(steady ? "steady scan" : "line by line");
        using Lines = std::vector<std::int64_t>;
        EXPECT_EQ(ScanLines(bytes, kComment, steady), (Lines{2}));
        EXPECT_EQ(ScanLines(bytes, kString, steady), (Lines{3}));
        EXPECT_EQ(ScanLines(bytes, kCode, steady), Lines{});
    }
}

}  // namespace
}  // namespace trawlex
