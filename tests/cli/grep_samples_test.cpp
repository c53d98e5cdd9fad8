// trawlex-grep on the bundled sample project (CP932, CRLF).

#include <gtest/gtest.h>

#include <filesystem>

#include "run_grep.h"

namespace trawlex::cli::test {
namespace {

// Runs from the folder above samples/, so names start with "samples/".
GrepResult GrepSamples(std::vector<std::string> args) {
    args.push_back("samples");
    return RunGrep(args, std::filesystem::path(TRAWLEX_SAMPLES_DIR).parent_path());
}

using Lines = std::vector<std::string>;

TEST(GrepSamples, KanaAndWidthAreIgnoredWithoutBinary) {
    const GrepResult result = GrepSamples({"--format", "tsv", "がいど"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outLines,
              (Lines{"samples/modMain.bas\t37\tLoadSampleData\tPrivate\t"
                     "' 初期データ: 全角の ＡＢＣ と半角の ｶﾞｲﾄﾞ を混ぜておく",
                     "samples/modMain.bas\t40\tLoadSampleData\tPrivate\t"
                     "gInventory.Add \"B-010\", \"ｶﾞｲﾄﾞﾌﾞｯｸ\", 3, 1200",
                     // Between two procedures: no procedure, no scope.
                     "samples/modUtil.bas\t15\t\t\t' 半角カナを全角に変換する。ｶﾞｲﾄﾞ → ガイド"}));
    EXPECT_EQ(result.LastErrLine(), "3 件みつかりました");

    EXPECT_EQ(GrepSamples({"--binary", "がいど"}).exitCode, 1);
    const GrepResult exact = GrepSamples({"--binary", "--format", "tsv", "ガイド"});
    EXPECT_EQ(exact.outLines.size(), 1u);  // only the full-width spelling itself
}

TEST(GrepSamples, DeclareLinesAreNotProcedures) {
    const GrepResult result = GrepSamples({"--format", "tsv", "GetTickCount"});
    EXPECT_EQ(result.outLines,
              (Lines{"samples/modMain.bas\t8\t(Declarations)\t\tPrivate Declare Function "
                     "GetTickCount Lib \"kernel32\" () As Long",
                     "samples/modMain.bas\t24\tMain\tGlobal\tmStartTick = GetTickCount()",
                     "samples/modMain.bas\t46\tElapsedMs\tFriend\tElapsedMs = GetTickCount() - "
                     "mStartTick"}));
}

TEST(GrepSamples, PropertyNamesAndLowerCaseKeywords) {
    const GrepResult property =
        GrepSamples({"--format", "tsv", "--mode", "regex", "--binary", "RunningTotal\\b"});
    EXPECT_EQ(
        property.outLines,
        (Lines{"samples/clsInventory.cls\t77\tTotalAmount\tPublic\tTotalAmount = RunningTotal",
               "samples/modUtil.bas\t49\tGet RunningTotal\tPublic\tPublic Property Get "
               "RunningTotal() As Currency",
               "samples/modUtil.bas\t50\tGet RunningTotal\tPublic\tRunningTotal = lineSub"}));

    // "sub" and "end sub" in lower case are not recognised.
    const GrepResult legacy = GrepSamples({"--format", "tsv", "legacy"});
    EXPECT_EQ(legacy.outLines,
              (Lines{"samples/modUtil.bas\t54\t\t\tsub legacyDump(byval text as string)",
                     "samples/modUtil.bas\t55\t\t\tdebug.print \"legacy: \" & text"}));
}

TEST(GrepSamples, Cp932TrailBytesAreNotBackslashes) {
    // modMain.bas holds ソ (0x83 0x5C) in several places but one real backslash only.
    const GrepResult result = GrepSamples({"--format", "tsv", "--binary", "\\"});
    Lines modMain;
    for (const auto& line : result.outLines) {
        if (line.starts_with("samples/modMain.bas\t")) modMain.push_back(line);
    }
    EXPECT_EQ(
        modMain,
        Lines{"samples/modMain.bas\t69\tReadSetting\tPublic\tApp.Path & \"\\\\sample.ini\")"});
}

TEST(GrepSamples, ExtensionFilterLeavesTheProjectFileOut) {
    const GrepResult all = GrepSamples({"--format", "tsv", "在庫管理"});
    ASSERT_FALSE(all.outLines.empty());
    EXPECT_TRUE(all.outLines.front().starts_with("samples/Sample.vbp\t"));  // byte order: 'S' < 'c'

    const GrepResult modules = GrepSamples({"--format", "tsv", "--ext", "bas,cls,frm", "在庫管理"});
    EXPECT_EQ(modules.outLines.size() + 1, all.outLines.size());
    for (const auto& line : modules.outLines) EXPECT_EQ(line.find(".vbp"), std::string::npos);
    EXPECT_EQ(modules.LastErrLine(), std::to_string(modules.outLines.size()) + " 件みつかりました");
}

TEST(GrepSamples, OneLineProcedureEndsOnItsOwnLine) {
    const GrepResult result = GrepSamples({"--format", "jsonl", "--mode", "word", "NoOp"});
    EXPECT_EQ(
        result.outLines,
        Lines{
            R"json({"name":"samples/modMain.bas","line":60,"procedure":"NoOp","scope":"Public","content":"Public Sub NoOp(): End Sub","spans":[[11,15]]})json"});
}

TEST(GrepSamples, AFileNamedAloneGivesTheRowsOfTheWalk) {
    const std::filesystem::path base = std::filesystem::path(TRAWLEX_SAMPLES_DIR).parent_path();
    const std::vector<std::vector<std::string>> searches = {
        {"ｶﾞｲﾄﾞ"},
        {"--binary", "Sub"},
        {"--mode", "regex", "^(Public|Private) "},
        {"--mode", "word", "text"},
        {"--mode", "wildcard", "*(ByVal*)*"}};
    for (const auto& search : searches) {
        std::vector<std::string> args{"--format", "jsonl"};
        args.insert(args.end(), search.begin(), search.end());
        const GrepResult walk = GrepSamples(args);
        ASSERT_FALSE(walk.outLines.empty()) << search.back();
        for (const char* file : {"modMain.bas", "modUtil.bas", "clsInventory.cls", "frmMain.frm"}) {
            const std::string name = std::string("samples/") + file;
            Lines fromWalk;
            for (const auto& line : walk.outLines) {
                if (line.starts_with(R"({"name":")" + name + "\"")) fromWalk.push_back(line);
            }
            std::vector<std::string> alone = args;
            alone.push_back(name);
            EXPECT_EQ(RunGrep(alone, base).outLines, fromWalk) << search.back() << " " << file;
        }
    }
}

}  // namespace
}  // namespace trawlex::cli::test
