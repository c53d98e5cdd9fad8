// Runs the built trawlex-grep on folders made for each test.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "run_grep.h"
#include "tests/fixtures/region_module.h"

namespace fs = std::filesystem;

namespace trawlex::cli::test {
namespace {

// CP932 bytes of the Japanese text in the fixture.
constexpr std::string_view kCp932Comment =
    "' \x8C\x9F\x8D\xF5\x83\x65\x83\x58\x83\x67";                      // ' 検索テスト
constexpr std::string_view kCp932Source = "\x83\x5C\x81\x5B\x83\x58";  // ソース (0x5C trail)

void WriteFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

class GrepCli : public ::testing::Test {
  protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() / ("trawlex-grep-test-" + std::to_string(::getpid()));
        fs::remove_all(base_);
        root_ = base_ / "tree";
        WriteFile(root_ / "a.bas", std::string("Attribute VB_Name = \"modA\"\r\n"
                                               "Option Explicit\r\n"
                                               "Private Sub Foo()\r\n") +
                                       std::string(kCp932Comment) +
                                       "\r\n"
                                       "End Sub\r\n"
                                       "Public Function Bar(x As Long) As Long\r\n"
                                       "    Bar = x  ' " +
                                       std::string(kCp932Source) +
                                       "\r\n"
                                       "End Function\r\n"
                                       "x = Barn\r\n");
        WriteFile(root_ / "b.CLS", "Sub Baz()\r\n  Dim value As Long\r\nEnd Sub\r\n");
        WriteFile(root_ / "Makefile", "value: all\n");
        WriteFile(root_ / "x.c", "int value;\n");
        WriteFile(root_ / "sub" / "c.bas", "Dim value\r\n");
        WriteFile(root_ / "sub" / "deeper" / "d.frm", "value = 2\r\n");
    }
    void TearDown() override { fs::remove_all(base_); }

    // Runs with the working directory one above the tree, so names start with "tree/".
    GrepResult Grep(std::vector<std::string> args) { return RunGrep(args, base_); }

    fs::path base_;
    fs::path root_;
};

TEST_F(GrepCli, WalksFilesBeforeSubfoldersInNameOrder) {
    const GrepResult result = Grep({"--format", "tsv", "VALUE", "tree"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outLines, (std::vector<std::string>{
                                   "tree/Makefile\t1\t(Declarations)\t\tvalue: all",
                                   "tree/b.CLS\t2\tBaz\tGlobal\tDim value As Long",
                                   "tree/x.c\t1\t(Declarations)\t\tint value;",
                                   "tree/sub/c.bas\t1\t(Declarations)\t\tDim value",
                                   "tree/sub/deeper/d.frm\t1\t(Declarations)\t\tvalue = 2",
                               }));
    EXPECT_EQ(result.errLines, std::vector<std::string>{"5 件みつかりました"});
}

TEST_F(GrepCli, ExtensionAndSubfolderOptionsFilterTheWalk) {
    const GrepResult ext = Grep({"--ext", "bas,cls", "--format", "tsv", "value", "tree"});
    ASSERT_EQ(ext.outLines.size(), 2u);
    EXPECT_TRUE(ext.outLines[0].starts_with("tree/b.CLS\t"));
    EXPECT_TRUE(ext.outLines[1].starts_with("tree/sub/c.bas\t"));
    EXPECT_EQ(ext.LastErrLine(), "2 件みつかりました");

    const GrepResult flat = Grep({"--no-subfolders", "--format", "tsv", "value", "tree"});
    ASSERT_EQ(flat.outLines.size(), 3u);
    EXPECT_TRUE(flat.outLines[2].starts_with("tree/x.c\t"));

    const GrepResult none = Grep({"--ext", "frm", "--no-subfolders", "value", "tree"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.errLines, std::vector<std::string>{"見つかりませんでした"});
}

TEST_F(GrepCli, OutputFormatsCarryProcedureAndScope) {
    const GrepResult json = Grep({"--format", "jsonl", "--mode", "regex", "^End", "tree/a.bas"});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(
        json.outLines,
        (std::vector<std::string>{
            R"({"name":"tree/a.bas","line":5,"procedure":"Foo","scope":"Private","content":"End Sub","spans":[[0,3]]})",
            R"({"name":"tree/a.bas","line":8,"procedure":"Bar","scope":"Public","content":"End Function","spans":[[0,3]]})",
        }));

    const GrepResult text = Grep({"Bar = x", "tree"});
    ASSERT_EQ(text.outLines.size(), 1u);
    // Not a terminal: no colours; the CP932 comment comes out as UTF-8.
    EXPECT_EQ(text.outLines[0], "tree/a.bas:7:Bar: Bar = x  ' ソース");
}

TEST_F(GrepCli, JapaneseNeedlesAreDecodedNotMatchedAsBytes) {
    const GrepResult kana = Grep({"--format", "tsv", "てすと", "tree"});
    EXPECT_EQ(kana.outLines, std::vector<std::string>{"tree/a.bas\t4\tFoo\tPrivate\t' 検索テスト"});

    EXPECT_EQ(Grep({"--binary", "てすと", "tree"}).exitCode, 1);
    EXPECT_EQ(Grep({"--binary", "テスト", "tree"}).exitCode, 0);
    // The trail byte of ソ is 0x5C, yet the file holds no backslash.
    const GrepResult backslash = Grep({"--mode", "regex", "\\\\", "tree"});
    EXPECT_EQ(backslash.exitCode, 1);
    EXPECT_EQ(backslash.out, "");
}

TEST_F(GrepCli, ModesReachTheEngine) {
    const GrepResult word = Grep({"--mode", "word", "--format", "tsv", "Bar", "tree"});
    ASSERT_EQ(word.outLines.size(), 2u);  // not "x = Barn"
    EXPECT_TRUE(word.outLines[0].starts_with("tree/a.bas\t6\t"));
    EXPECT_TRUE(word.outLines[1].starts_with("tree/a.bas\t7\t"));

    const GrepResult like = Grep({"--mode", "wildcard", "--format", "tsv", "private*f?o", "tree"});
    ASSERT_EQ(like.outLines.size(), 1u);
    EXPECT_TRUE(like.outLines[0].starts_with("tree/a.bas\t3\tFoo\tPrivate\t"));
    EXPECT_EQ(Grep({"--mode", "wildcard", "--binary", "private*f?o", "tree"}).exitCode, 1);

    EXPECT_EQ(Grep({"--mode", "regex", "--binary", "^end sub", "tree"}).exitCode, 1);
    EXPECT_EQ(Grep({"--mode", "regex", "(", "tree"}).exitCode, 2);  // invalid: reported
}

TEST_F(GrepCli, FilePathIsNamedAsGivenAndIgnoresTheExtensionFilter) {
    const GrepResult result = RunGrep({"--ext", "cls", "--format", "tsv", "Barn", "a.bas"}, root_);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outLines, std::vector<std::string>{"a.bas\t9\t\t\tx = Barn"});

    const std::string absolute = (root_ / "x.c").string();
    const GrepResult abs = RunGrep({"--format", "tsv", "int", absolute});
    EXPECT_EQ(abs.outLines,
              std::vector<std::string>{absolute + "\t1\t(Declarations)\t\tint value;"});
}

TEST_F(GrepCli, MissingPathIsReportedAndTheRestSearched) {
    const GrepResult result = Grep({"--format", "tsv", "Dim value", "nowhere", "tree/sub"});
    EXPECT_EQ(result.exitCode, 2);  // rows found, but a PATH was missing
    EXPECT_EQ(result.outLines,
              std::vector<std::string>{"tree/sub/c.bas\t1\t(Declarations)\t\tDim value"});
    ASSERT_EQ(result.errLines.size(), 2u);
    EXPECT_TRUE(result.errLines[0].starts_with("エラーが発生しました:"));
    EXPECT_NE(result.errLines[0].find("nowhere"), std::string::npos);
    EXPECT_EQ(result.errLines[1], "1 件みつかりました");

    const GrepResult only = Grep({"value", "nowhere"});
    EXPECT_EQ(only.exitCode, 2);
    ASSERT_EQ(only.errLines.size(), 2u);
    EXPECT_TRUE(only.errLines[0].starts_with("エラーが発生しました:"));
    EXPECT_EQ(only.errLines[1], "見つかりませんでした");
}

TEST_F(GrepCli, DevicesAreRefusedAndPipesRead) {
    const GrepResult device = Grep({"value", "/dev/null", "tree/x.c"});
    EXPECT_EQ(device.exitCode, 2);
    ASSERT_EQ(device.errLines.size(), 2u);
    EXPECT_EQ(device.errLines[0], "エラーが発生しました:/dev/null: not a file or folder");
    EXPECT_EQ(device.errLines[1], "1 件みつかりました");

    const fs::path fifo = base_ / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
        std::ofstream(fifo) << "Sub Piped()\r\n  value = 1\r\n";
        ::_exit(0);
    }
    const GrepResult piped = Grep({"--format", "tsv", "value", "pipe"});
    if (::waitpid(writer, nullptr, WNOHANG) == 0) {  // the pipe was never opened for reading
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
    }
    EXPECT_EQ(piped.outLines, std::vector<std::string>{"pipe\t2\tPiped\tGlobal\tvalue = 1"});
}

// Permission bits bind root too when the run gives root up first.
TEST_F(GrepCli, UnreadableFolderIsReportedAndTheWalkGoesOn) {
    const fs::path locked = root_ / "sub" / "deeper";
    fs::permissions(locked, fs::perms::none);
    const GrepResult result =
        RunGrep({"--format", "tsv", "value", "tree"}, RunSetup{base_, {}, {}, false, false, true});
    fs::permissions(locked, fs::perms::owner_all);
    if (result.exitCode == kCannotDropRoot) GTEST_SKIP() << "cannot run without root here";
    EXPECT_EQ(result.exitCode, 2);  // the rows may be incomplete
    EXPECT_EQ(result.outLines.size(), 4u);
    ASSERT_EQ(result.errLines.size(), 2u);
    EXPECT_EQ(result.errLines[0], "エラーが発生しました:tree/sub/deeper: Permission denied");
    EXPECT_EQ(result.errLines[1], "4 件みつかりました");
}

TEST_F(GrepCli, UnreadableFileIsReportedAndEveryOtherFileSearched) {
    WriteFile(root_ / "a.bas", "Dim value\r\n");
    fs::permissions(root_ / "a.bas", fs::perms::none);
    const GrepResult result =
        RunGrep({"--format", "tsv", "value", "tree"}, RunSetup{base_, {}, {}, false, false, true});
    if (result.exitCode == kCannotDropRoot) GTEST_SKIP() << "cannot run without root here";
    EXPECT_EQ(result.exitCode, 2);
    // Every file after the unreadable one, its subfolders included, is still searched.
    EXPECT_EQ(result.outLines.size(), 5u);
    EXPECT_EQ(result.errLines, (std::vector<std::string>{
                                   "エラーが発生しました:tree/a.bas: Permission denied",
                                   "5 件みつかりました",
                               }));
}

TEST_F(GrepCli, MissingPathIsReportedWithExitStatusTwo) {
    const GrepResult result = Grep({"value", "tree/x.c", "tree/none"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.outLines.size(), 1u);
    EXPECT_EQ(result.errLines.front(), "エラーが発生しました:tree/none: No such file or directory");
}

TEST_F(GrepCli, ControlCharactersInMessagesAreShownNotObeyed) {
    RunSetup terminal{base_, {}, {}, true, true};
    const GrepResult shown = RunGrep({"value", "tree/err\x1b[2Jname.bas"}, terminal);
    EXPECT_EQ(shown.exitCode, 2);
    EXPECT_NE(shown.out.find("tree/err^[[2Jname.bas: No such file"), std::string::npos)
        << shown.out;
    EXPECT_EQ(shown.out.find('\x1b'), std::string::npos);

    const GrepResult usage = RunGrep({"--\x1b[2J", "x", "tree"}, terminal);
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.out.find("'--^[[2J'"), std::string::npos) << usage.out;
    EXPECT_EQ(usage.out.find('\x1b'), std::string::npos);

    // In a file, messages keep their bytes.
    const GrepResult filed = Grep({"value", "tree/err\x1b[2Jname.bas"});
    EXPECT_NE(filed.err.find("err\x1b[2Jname.bas"), std::string::npos);
}

TEST_F(GrepCli, InvalidPatternIsAnErrorNotAnEmptyResult) {
    for (const std::string mode : {"regex", "word"}) {
        const GrepResult result = Grep({"--mode", mode, "(value", "tree"});
        EXPECT_EQ(result.exitCode, 2) << mode;
        EXPECT_TRUE(result.outLines.empty()) << mode;
        ASSERT_EQ(result.errLines.size(), 2u) << result.err;
        EXPECT_TRUE(
            result.errLines[0].starts_with("エラーが発生しました:missing closing parenthesis"))
            << result.errLines[0];
    }
    // A wildcard pattern that cannot match stays a search without rows.
    EXPECT_EQ(Grep({"--mode", "wildcard", "[", "tree"}).exitCode, 1);
}

TEST_F(GrepCli, LineTooCostlyForTheRegexIsReportedAndOthersStillMatch) {
    WriteFile(root_ / "hard.txt", "ok!\n" + std::string(40, 'a') + "!\nzz\n");
    const GrepResult result =
        Grep({"--mode", "regex", "--format", "tsv", "^(?:(a|a)*!x|a+!)", "tree/hard.txt"});
    EXPECT_EQ(result.exitCode, 2);
    // Only the costly line is in doubt; the other lines were tested.
    EXPECT_TRUE(result.outLines.empty());
    ASSERT_EQ(result.errLines.size(), 2u) << result.err;
    EXPECT_TRUE(result.errLines[0].starts_with("エラーが発生しました:tree/hard.txt:2: "))
        << result.errLines[0];
    EXPECT_EQ(result.errLines[1], "見つかりませんでした");

    // A pattern with a literal ("!") is searched for ahead of the line tests; the costly
    // line is still reported.
    const GrepResult ahead = Grep({"--mode", "regex", "(a|a)*![x!]", "tree/hard.txt"});
    EXPECT_EQ(ahead.exitCode, 2);
    ASSERT_EQ(ahead.errLines.size(), 2u) << ahead.err;
    EXPECT_TRUE(ahead.errLines[0].starts_with("エラーが発生しました:tree/hard.txt:2: "));
}

TEST_F(GrepCli, EncodingOptionChoosesHowFilesWithoutBomAreRead) {
    // "ﾒｲﾝ" in CP932 (D2 B2 DD): D2 B2 is also valid UTF-8 (U+04B2) — DD is not, so
    // "ﾒｲ" alone (D2 B2) is the case that fooled the detection.
    WriteFile(root_ / "k.bas", "' \xD2\xB2\r\n");
    const GrepResult detected = Grep({"--format", "tsv", "ﾒｲ", "tree/k.bas"});
    EXPECT_EQ(detected.outLines, std::vector<std::string>{"tree/k.bas\t1\t(Declarations)\t\t' ﾒｲ"});
    const GrepResult forced =
        Grep({"--encoding", "utf-8", "--format", "tsv", "\xD2\xB2", "tree/k.bas"});
    EXPECT_EQ(forced.outLines.size(), 1u);
    const GrepResult cp932 = Grep({"--encoding=cp932", "--format", "tsv", "ﾒｲ", "tree/k.bas"});
    EXPECT_EQ(cp932.outLines.size(), 1u);
    EXPECT_EQ(Grep({"--encoding", "latin1", "x", "tree"}).exitCode, 2);
}

TEST_F(GrepCli, EncodingOptionAlsoReadsTheModulesOfAProject) {
    // "é" in UTF-8 (C3 A9) is a two-byte sequence only, so the detection reads it as CP932;
    // "あ" in UTF-8 (E3 81 82) is read as UTF-8 unless CP932 is chosen.
    WriteFile(root_ / "P.vbp", "Type=Exe\r\nModule=M1; m1.bas\r\nModule=M2; m2.bas\r\n");
    WriteFile(root_ / "m1.bas", "Attribute VB_Name = \"M1\"\r\n' caf\xC3\xA9\r\n");
    WriteFile(root_ / "m2.bas", "Attribute VB_Name = \"M2\"\r\n' \xE3\x81\x82\r\n");
    EXPECT_TRUE(Grep({"--format", "tsv", "café", "tree/P.vbp"}).outLines.empty());
    EXPECT_EQ(Grep({"--encoding", "utf-8", "--format", "tsv", "café", "tree/P.vbp"}).outLines,
              std::vector<std::string>{"M1\t1\t(Declarations)\t\t' café"});
    EXPECT_EQ(Grep({"--format", "tsv", "あ", "tree/P.vbp"}).outLines,
              std::vector<std::string>{"M2\t1\t(Declarations)\t\t' あ"});
    EXPECT_TRUE(
        Grep({"--encoding", "cp932", "--format", "tsv", "あ", "tree/P.vbp"}).outLines.empty());
}

TEST_F(GrepCli, EmptySearchFindsNothing) {
    for (const std::string search : {"", "   "}) {
        const GrepResult result = Grep({search, "tree"});
        EXPECT_EQ(result.exitCode, 1) << "'" << search << "'";
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.LastErrLine(), "見つかりませんでした");
    }
    // Outer spaces are not part of the search string.
    EXPECT_EQ(Grep({"  int value;  ", "tree"}).exitCode, 0);
}

TEST_F(GrepCli, UsageErrorsAndHelp) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"--bogus", "x", "tree"},
                                               {"x"},
                                               {},
                                               {"--mode", "hidemaru", "x", "tree"},
                                               {"--format", "xml", "x", "tree"}}) {
        const GrepResult result = Grep(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("usage: trawlex-grep"), std::string::npos);
    }
    const GrepResult help = Grep({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* topic : {"--mode wildcard", "--format jsonl", "--no-subfolders", "NO_COLOR",
                              "Exit status", "件みつかりました", "見つかりませんでした"}) {
        EXPECT_NE(help.out.find(topic), std::string::npos) << topic;
    }
}

TEST_F(GrepCli, LargeOutputArrivesWhole) {
    std::string many;
    for (int i = 0; i < 30000; ++i) many += "Debug.Print " + std::to_string(i) + "\r\n";
    WriteFile(root_ / "many" / "m.bas", many);
    const GrepResult result = Grep({"--format", "jsonl", "debug.print", "tree/many"});
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_EQ(result.outLines.size(), 30000u);
    EXPECT_EQ(
        result.outLines.back(),
        R"json({"name":"tree/many/m.bas","line":30000,"procedure":"(Declarations)","scope":"","content":"Debug.Print 29999","spans":[[0,11]]})json");
    EXPECT_EQ(result.LastErrLine(), "30000 件みつかりました");
}

TEST_F(GrepCli, FailedOutputIsAnErrorNotAResult) {
    RunSetup full{base_, {}, "/dev/full", false};
    const GrepResult result = RunGrep({"value", "tree"}, full);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.LastErrLine().starts_with("エラーが発生しました:")) << result.err;
    EXPECT_EQ(result.err.find("件みつかりました"), std::string::npos);
}

TEST_F(GrepCli, TerminalOutputIsColouredUnlessNoColor) {
    // A pseudo-terminal turns LF into CR LF on output.
    RunSetup terminal{base_, {}, {}, true};
    const GrepResult coloured = RunGrep({"int value", "tree/x.c"}, terminal);
    EXPECT_EQ(coloured.exitCode, 0);
    EXPECT_EQ(coloured.out,
              "\x1b[35mtree/x.c\x1b[0m\x1b[36m:\x1b[0m\x1b[32m1\x1b[0m\x1b[36m:\x1b[0m"
              "\x1b[33m(Declarations)\x1b[0m\x1b[36m:\x1b[0m \x1b[01;31mint value\x1b[0m;\r\n");

    terminal.extraEnv = {"NO_COLOR=1"};
    const GrepResult plain = RunGrep({"int value", "tree/x.c"}, terminal);
    EXPECT_EQ(plain.out, "tree/x.c:1:(Declarations): int value;\r\n");

    // A line that tries to drive the terminal is shown, not obeyed.
    WriteFile(root_ / "esc.txt", "Title \x1b]0;owned\x07 here\n");
    const GrepResult escaped = RunGrep({"Title", "tree/esc.txt"}, terminal);
    EXPECT_EQ(escaped.out, "tree/esc.txt:1:(Declarations): Title ^[]0;owned^G here\r\n");
}

TEST_F(GrepCli, ColorChoiceOverridesTheTerminalTest) {
    const GrepResult always = Grep({"--color=always", "value", "tree/x.c"});
    EXPECT_EQ(always.outLines,
              std::vector<std::string>{
                  "\x1b[35mtree/x.c\x1b[0m\x1b[36m:\x1b[0m\x1b[32m1\x1b[0m\x1b[36m:\x1b[0m"
                  "\x1b[33m(Declarations)\x1b[0m\x1b[36m:\x1b[0m int \x1b[01;31mvalue\x1b[0m;"});

    RunSetup terminal{base_, {}, {}, true};
    const GrepResult never = RunGrep({"--color", "never", "value", "tree/x.c"}, terminal);
    EXPECT_EQ(never.out, "tree/x.c:1:(Declarations): int value;\r\n");

    const GrepResult wrong = Grep({"--color", "sometimes", "value", "tree"});
    EXPECT_EQ(wrong.exitCode, 2);
}

TEST_F(GrepCli, ColoursMarkOnlyTheMatchesInTheNamedRegions) {
    WriteFile(root_ / "r" / "r.bas", std::string("Attribute VB_Name = \"modR\"\r\n") +
                                         std::string(fixtures::kRegionModule));
    const std::string both = "Call \x1b[01;31mneedle\x1b[0m ' \x1b[01;31mneedle\x1b[0m";
    const std::string comment = "Call needle ' \x1b[01;31mneedle\x1b[0m";
    const std::string code = "Call \x1b[01;31mneedle\x1b[0m ' needle";
    const auto last = [&](std::initializer_list<std::string> args) {
        std::vector<std::string> all{"--color=always"};
        all.insert(all.end(), args);
        all.insert(all.end(), {"needle", "tree/r"});
        const GrepResult result = Grep(all);
        return result.outLines.empty() ? std::string() : result.outLines.back();
    };
    EXPECT_TRUE(last({}).ends_with(both)) << last({});
    EXPECT_TRUE(last({"--in", "comment"}).ends_with(comment)) << last({"--in", "comment"});
    EXPECT_TRUE(last({"--in", "code"}).ends_with(code)) << last({"--in", "code"});
    EXPECT_TRUE(last({"--in", "code", "--in", "comment"}).ends_with(both));
}

TEST_F(GrepCli, InKeepsLinesWithAMatchInTheNamedRegions) {
    WriteFile(root_ / "r" / "r.bas", std::string("Attribute VB_Name = \"modR\"\r\n") +
                                         std::string(fixtures::kRegionModule));
    const auto lines = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--format", "tsv"});
        args.insert(args.end(), {"needle", "tree/r"});
        std::vector<std::string> numbers;
        for (const std::string& line : Grep(args).outLines) {
            numbers.push_back(line.substr(line.find('\t') + 1, line.find('\t', 11) - 11));
        }
        return numbers;
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(lines({}), (Lines{"2", "3", "4", "6", "7", "8"}));
    EXPECT_EQ(lines({"--in", "code"}), (Lines{"2", "8"}));
    EXPECT_EQ(lines({"--in", "comment"}), (Lines{"3", "4", "6", "8"}));
    EXPECT_EQ(lines({"--in=string"}), (Lines{"7"}));
    EXPECT_EQ(lines({"--in", "string", "--in", "code"}), (Lines{"2", "7", "8"}));

    const GrepResult wrong = Grep({"--in", "docs", "needle", "tree/r"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find("docs"), std::string::npos);
}

TEST_F(GrepCli, CountPrintsRowsPerFileInWalkOrder) {
    WriteFile(root_ / "r" / "r.bas", std::string("Attribute VB_Name = \"modR\"\r\n") +
                                         std::string(fixtures::kRegionModule));
    const GrepResult counted = Grep({"--count", "value", "tree"});
    EXPECT_EQ(counted.exitCode, 0);
    EXPECT_EQ(counted.outLines,
              (std::vector<std::string>{"tree/Makefile:1", "tree/b.CLS:1", "tree/x.c:1",
                                        "tree/sub/c.bas:1", "tree/sub/deeper/d.frm:1"}));
    EXPECT_EQ(counted.errLines, std::vector<std::string>{"5 件みつかりました"});

    // Counts follow the region filter; a project counts per module.
    const GrepResult comments = Grep({"--count", "--in", "comment", "needle", "tree/r"});
    EXPECT_EQ(comments.outLines, std::vector<std::string>{"tree/r/r.bas:4"});
    EXPECT_EQ(comments.LastErrLine(), "4 件みつかりました");

    // A failing path is reported after the counts of the files before it.
    const GrepResult missing = Grep({"--count", "value", "tree/x.c", "tree/nope", "tree/b.CLS"});
    EXPECT_EQ(missing.outLines, (std::vector<std::string>{"tree/x.c:1", "tree/b.CLS:1"}));
    EXPECT_EQ(missing.LastErrLine(), "2 件みつかりました");
}

TEST_F(GrepCli, JsonlSpansCountCodePointsIntoTheContent) {
    WriteFile(root_ / "r" / "r.bas", std::string("Attribute VB_Name = \"modR\"\r\n") +
                                         std::string(fixtures::kRegionModule));
    const GrepResult json = Grep({"--format", "jsonl", "--in", "comment", "needle", "tree/r"});
    ASSERT_EQ(json.outLines.size(), 4u);
    EXPECT_NE(json.outLines[2].find(R"("content":"ｎｅｅｄｌｅ continued","spans":[[0,6]]})"),
              std::string::npos)
        << json.outLines[2];
    // Only the match in the wanted region is marked; without --in both are.
    EXPECT_NE(json.outLines[3].find(R"("content":"Call needle ' needle","spans":[[14,20]]})"),
              std::string::npos)
        << json.outLines[3];
    const GrepResult all = Grep({"--format", "jsonl", "needle", "tree/r"});
    ASSERT_EQ(all.outLines.size(), 6u);
    EXPECT_NE(all.outLines[5].find(R"("content":"Call needle ' needle","spans":[[5,11],[14,20]]})"),
              std::string::npos)
        << all.outLines[5];
    const GrepResult code = Grep({"--format", "jsonl", "--in", "code", "needle", "tree/r"});
    ASSERT_EQ(code.outLines.size(), 2u);
    EXPECT_NE(code.outLines[1].find(R"("spans":[[5,11]]})"), std::string::npos) << code.outLines[1];
    // Spans are found in the line as read, as the match was, and then cut to the content:
    // a pattern that takes in the indent marks what of it lies in the content.
    const GrepResult indent =
        Grep({"--format", "jsonl", "--mode", "regex", "^ +Call needle", "tree/r"});
    ASSERT_EQ(indent.outLines.size(), 1u);
    EXPECT_NE(indent.outLines[0].find(R"("content":"Call needle ' needle","spans":[[0,11]]})"),
              std::string::npos)
        << indent.outLines[0];
    // The CP932 comment of a.bas: "' 検索テスト", found by its hiragana.
    const GrepResult cp932 = Grep({"--format", "jsonl", "てすと", "tree/a.bas"});
    ASSERT_EQ(cp932.outLines.size(), 1u);
    EXPECT_NE(cp932.outLines[0].find(R"("spans":[[4,7]])"), std::string::npos) << cp932.out;
}

}  // namespace
}  // namespace trawlex::cli::test
