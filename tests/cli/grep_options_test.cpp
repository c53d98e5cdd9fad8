#include "cli/grep_options.h"

#include <gtest/gtest.h>

namespace trawlex::cli {
namespace {

GrepOptions ParseOk(std::vector<std::string_view> args) {
    const ParsedArgs parsed = ParseGrepArgs(args);
    const auto* options = std::get_if<GrepOptions>(&parsed);
    if (options == nullptr) {
        ADD_FAILURE() << "arguments were not accepted";
        return {};
    }
    return *options;
}

std::string ParseError(std::vector<std::string_view> args) {
    const ParsedArgs parsed = ParseGrepArgs(args);
    const auto* error = std::get_if<UsageError>(&parsed);
    if (error == nullptr) {
        ADD_FAILURE() << "arguments were accepted";
        return {};
    }
    return error->message;
}

TEST(GrepOptions, DefaultsSearchEverythingAsPlainText) {
    const GrepOptions options = ParseOk({"Foo", "src"});
    EXPECT_EQ(options.match.mode, SearchMode::Normal);
    EXPECT_FALSE(options.match.binary);
    EXPECT_EQ(options.extList, "*");
    EXPECT_TRUE(options.searchSubfolders);
    EXPECT_EQ(options.format, OutputFormat::Text);
    EXPECT_EQ(options.search, "Foo");
    EXPECT_EQ(options.paths, std::vector<std::string>{"src"});
}

TEST(GrepOptions, EveryOptionWithSeparateOrInlineValue) {
    const GrepOptions separate =
        ParseOk({"--mode", "regex", "--binary", "--ext", "bas,cls", "--no-subfolders", "--format",
                 "jsonl", "^Sub", "a", "b.bas"});
    EXPECT_EQ(separate.match.mode, SearchMode::Regex);
    EXPECT_TRUE(separate.match.binary);
    EXPECT_EQ(separate.extList, "*.bas;*.cls");
    EXPECT_FALSE(separate.searchSubfolders);
    EXPECT_EQ(separate.format, OutputFormat::Jsonl);
    EXPECT_EQ(separate.search, "^Sub");
    EXPECT_EQ(separate.paths, (std::vector<std::string>{"a", "b.bas"}));

    const GrepOptions inlined = ParseOk({"--mode=word", "--format=tsv", "--ext=frm", "x", "p"});
    EXPECT_EQ(inlined.match.mode, SearchMode::Word);
    EXPECT_EQ(inlined.format, OutputFormat::Tsv);
    EXPECT_EQ(inlined.extList, "*.frm");

    EXPECT_EQ(ParseOk({"--mode", "wildcard", "x", "p"}).match.mode, SearchMode::Wildcard);
    EXPECT_EQ(ParseOk({"--mode", "normal", "x", "p"}).match.mode, SearchMode::Normal);
    EXPECT_EQ(ParseOk({"--format", "text", "x", "p"}).format, OutputFormat::Text);
}

TEST(GrepOptions, OptionsMayFollowTheOperands) {
    const GrepOptions options = ParseOk({"Foo", "src", "--mode", "word"});
    EXPECT_EQ(options.match.mode, SearchMode::Word);
    EXPECT_EQ(options.paths, std::vector<std::string>{"src"});
}

TEST(GrepOptions, DoubleDashEndsOptions) {
    const GrepOptions options = ParseOk({"--binary", "--", "--mode", "-x", "--"});
    EXPECT_TRUE(options.match.binary);
    EXPECT_EQ(options.search, "--mode");
    EXPECT_EQ(options.paths, (std::vector<std::string>{"-x", "--"}));
    // A lone dash is an ordinary operand.
    EXPECT_EQ(ParseOk({"-", "p"}).search, "-");
}

TEST(GrepOptions, HelpWinsOverEverythingBeforeIt) {
    EXPECT_TRUE(std::holds_alternative<HelpRequested>(ParseGrepArgs({"--help"})));
    EXPECT_TRUE(std::holds_alternative<HelpRequested>(ParseGrepArgs({"x", "--help"})));
    // After "--" it is a search string.
    EXPECT_EQ(ParseOk({"--", "--help", "p"}).search, "--help");
}

TEST(GrepOptions, UsageErrorsNameTheProblem) {
    EXPECT_NE(ParseError({"--colour", "x", "p"}).find("--colour"), std::string::npos);
    EXPECT_NE(ParseError({"-i", "x", "p"}).find("-i"), std::string::npos);
    EXPECT_NE(ParseError({"--mode", "hidemaru", "x", "p"}).find("hidemaru"), std::string::npos);
    EXPECT_NE(ParseError({"--mode=Regex", "x", "p"}).find("Regex"), std::string::npos);
    EXPECT_NE(ParseError({"--format", "csv", "x", "p"}).find("csv"), std::string::npos);
    EXPECT_NE(ParseError({"x", "p", "--mode"}).find("needs a value"), std::string::npos);
    EXPECT_NE(ParseError({"--ext", ",", "x", "p"}).find("--ext"), std::string::npos);
    EXPECT_EQ(ParseError({}), "missing SEARCH");
    EXPECT_EQ(ParseError({"--binary"}), "missing SEARCH");
    EXPECT_EQ(ParseError({"Foo"}), "missing PATH");
    // Flags take no value.
    EXPECT_NE(ParseError({"--binary=yes", "x", "p"}).find("--binary"), std::string::npos);
}

TEST(GrepOptions, JobsAsSeparateOrJoinedNumber) {
    EXPECT_EQ(ParseOk({"Foo", "src"}).jobs, 0u);  // one per processor
    EXPECT_EQ(ParseOk({"-j", "3", "Foo", "src"}).jobs, 3u);
    EXPECT_EQ(ParseOk({"Foo", "-j12", "src"}).jobs, 12u);
    EXPECT_EQ(ParseOk({"--", "-j2", "src"}).search, "-j2");
    EXPECT_EQ(ParseError({"-j", "0", "Foo", "src"}),
              "-j needs a number of jobs from 1 to 1024, not '0'");
    EXPECT_EQ(ParseError({"-jx", "Foo", "src"}),
              "-j needs a number of jobs from 1 to 1024, not 'x'");
    EXPECT_EQ(ParseError({"-j2x", "Foo", "src"}),
              "-j needs a number of jobs from 1 to 1024, not '2x'");
    EXPECT_EQ(ParseError({"Foo", "src", "-j"}), "option '-j' needs a value");
}

TEST(ExtListFromCommaList, BuildsTheSemicolonList) {
    EXPECT_EQ(ExtListFromCommaList("bas"), "*.bas");
    EXPECT_EQ(ExtListFromCommaList("bas,cls,frm"), "*.bas;*.cls;*.frm");
    EXPECT_EQ(ExtListFromCommaList(" .bas , *.CLS ,,"), "*.bas;*.CLS");
    EXPECT_EQ(ExtListFromCommaList("bas,*"), "*");
    EXPECT_EQ(ExtListFromCommaList("*.*"), "*");
    EXPECT_EQ(ExtListFromCommaList(""), "");
    EXPECT_EQ(ExtListFromCommaList(", ,"), "");
}

TEST(TrimSpaces, RemovesOnlyOuterSpaces) {
    EXPECT_EQ(TrimSpaces("  Dim x  "), "Dim x");
    EXPECT_EQ(TrimSpaces("    "), "");
    EXPECT_EQ(TrimSpaces(""), "");
    EXPECT_EQ(TrimSpaces("\tx\t"), "\tx\t");
    EXPECT_EQ(TrimSpaces("\xE3\x80\x80x"), "\xE3\x80\x80x");  // U+3000 is not a space here
}

}  // namespace
}  // namespace trawlex::cli
