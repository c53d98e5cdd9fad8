#include "search/match_engine.h"

#include <gtest/gtest.h>

#include <string>

#include "search/regex_cache.h"

namespace trawlex {
namespace {

constexpr MatchOptions kNormal{SearchMode::Normal, false};
constexpr MatchOptions kNormalBinary{SearchMode::Normal, true};
constexpr MatchOptions kWildcard{SearchMode::Wildcard, false};
constexpr MatchOptions kWildcardBinary{SearchMode::Wildcard, true};
constexpr MatchOptions kRegex{SearchMode::Regex, false};
constexpr MatchOptions kRegexBinary{SearchMode::Regex, true};
constexpr MatchOptions kWord{SearchMode::Word, false};
constexpr MatchOptions kWordBinary{SearchMode::Word, true};

class MatchEngineTest : public ::testing::Test {
  protected:
    bool Match(std::string_view line, std::string_view search, MatchOptions options) {
        return engine_.MatchLine(line, search, options);
    }
    MatchEngine engine_;
};

TEST_F(MatchEngineTest, BlankSearchMatchesNothingInAnyMode) {
    for (int mode = 0; mode <= 4; ++mode) {
        for (bool binary : {false, true}) {
            const MatchOptions options{static_cast<SearchMode>(mode), binary};
            for (std::string_view search : {"", " ", "   "}) {
                EXPECT_FALSE(Match("   ", search, options)) << mode << binary;
                EXPECT_FALSE(Match("x", search, options)) << mode << binary;
            }
        }
    }
}

TEST_F(MatchEngineTest, HidemaruModeNeverMatches) {
    EXPECT_FALSE(Match("abc", "abc", {SearchMode::Hidemaru, false}));
    EXPECT_FALSE(Match("abc", "abc", {SearchMode::Hidemaru, true}));
}

TEST_F(MatchEngineTest, NormalIgnoresCaseWidthAndKana) {
    EXPECT_TRUE(Match("xabcx", "ABC", kNormal));
    EXPECT_TRUE(Match("xＡＢＣx", "ABC", kNormal));
    EXPECT_TRUE(Match("カナ", "かな", kNormal));
    EXPECT_TRUE(Match("ｶﾅ", "かな", kNormal));
    EXPECT_TRUE(Match("ガイド", "ｶﾞｲﾄﾞ", kNormal));
    EXPECT_TRUE(Match("がいど", "ｶﾞｲﾄﾞ", kNormal));
    EXPECT_TRUE(Match("ΣΟΦΙΑ", "σοφια", kNormal));
    EXPECT_TRUE(Match("Привет", "ПРИВЕТ", kNormal));
    EXPECT_TRUE(Match("a\u3000b", "a b", kNormal));
    EXPECT_FALSE(Match("が", "か", kNormal));
    EXPECT_FALSE(Match("データ", "テ", kNormal));
    EXPECT_FALSE(Match("abd", "abc", kNormal));
}

TEST_F(MatchEngineTest, NormalBinaryIsExact) {
    EXPECT_TRUE(Match("xABCx", "ABC", kNormalBinary));
    EXPECT_FALSE(Match("xabcx", "ABC", kNormalBinary));
    EXPECT_FALSE(Match("ＡＢＣ", "ABC", kNormalBinary));
    EXPECT_FALSE(Match("カナ", "かな", kNormalBinary));
    // The search string is used as given, spaces included.
    EXPECT_FALSE(Match("a=b", " = ", kNormalBinary));
    EXPECT_TRUE(Match("a = b", " = ", kNormalBinary));
}

TEST_F(MatchEngineTest, WildcardNormalisesBothSides) {
    EXPECT_TRUE(Match("xAbbCx", "a*c", kWildcard));
    EXPECT_FALSE(Match("xAbbCx", "a*c", kWildcardBinary));
    EXPECT_TRUE(Match("てすと", "ﾃｽﾄ", kWildcard));
    EXPECT_TRUE(Match("ﾃｽﾄ", "テスト", kWildcard));
    EXPECT_TRUE(Match("abc", "a?c", kWildcard));
    EXPECT_FALSE(Match("ac", "a?c", kWildcard));
    EXPECT_TRUE(Match("x51", "#1", kWildcard));
    // A voiced kana is two characters after normalisation.
    EXPECT_TRUE(Match("ガ", "ｶ?", kWildcard));
    EXPECT_FALSE(Match("ガ", "ｶ?", kWildcardBinary));
    // Full-width wildcard characters act as wildcards, except in binary mode.
    EXPECT_TRUE(Match("abc", "a＊c", kWildcard));
    EXPECT_FALSE(Match("abc", "a＊c", kWildcardBinary));
    EXPECT_TRUE(Match("a＊c", "a＊c", kWildcardBinary));
}

TEST_F(MatchEngineTest, WildcardInvalidPatternMatchesNothing) {
    EXPECT_FALSE(Match("[", "[", kWildcard));
    EXPECT_FALSE(Match("a[b", "[", kWildcardBinary));
    EXPECT_FALSE(Match("za", "[z-a]", kWildcard));
    // The engine stays usable afterwards.
    EXPECT_TRUE(Match("[", "[[]", kWildcard));
}

TEST_F(MatchEngineTest, RegexFollowsTheVbScriptDialect) {
    EXPECT_TRUE(Match("Sub Foo()", "^Sub", kRegex));
    EXPECT_FALSE(Match("End Sub", "^Sub", kRegex));
    EXPECT_TRUE(Match("Sub Foo()", "^sub", kRegex));
    EXPECT_FALSE(Match("Sub Foo()", "^sub", kRegexBinary));
    EXPECT_FALSE(Match("sub", "ｓｕｂ", kRegex));
    // \w, \d and \b know only ASCII.
    EXPECT_FALSE(Match("é", "\\w", kRegex));
    EXPECT_FALSE(Match("日本", "\\w", kRegex));
    EXPECT_FALSE(Match("１", "\\d", kRegex));
    EXPECT_TRUE(Match("日本x", "\\bx", kRegex));
    // Caseless works beyond ASCII.
    EXPECT_TRUE(Match("ΣΟΦΙΑ", "σοφια", kRegex));
    EXPECT_TRUE(Match("МОСКВА", "москва", kRegex));
    EXPECT_FALSE(Match("МОСКВА", "москва", kRegexBinary));
    // \uHHHH, an empty class, an unset back reference, "$" only at the end.
    EXPECT_TRUE(Match("xAx", "\\u0041", kRegexBinary));
    EXPECT_TRUE(Match("日", "\\u65E5", kRegex));
    EXPECT_FALSE(Match("abc", "[]", kRegex));
    EXPECT_TRUE(Match("ab", "a(x)?\\1b", kRegex));
    EXPECT_FALSE(Match("ab\n", "b$", kRegex));
    EXPECT_TRUE(Match("ab", "b$", kRegex));
    EXPECT_FALSE(Match("a\rb", "a.b", kRegex));
}

TEST_F(MatchEngineTest, InvalidRegexMatchesNothing) {
    for (std::string_view bad : {"(", "a)", "[a", "*a", "a{2,1}", "\\"}) {
        EXPECT_FALSE(Match("(a)[a*a\\", bad, kRegex)) << bad;
        EXPECT_FALSE(Match("(a)[a*a\\", bad, kWord)) << bad;
    }
    EXPECT_TRUE(Match("abc", "b", kRegex));
}

TEST_F(MatchEngineTest, InvalidUtf8MatchesNothingButTheRestOfTheLineStillDoes) {
    EXPECT_TRUE(
        Match("a\xff"
              "b",
              "a", kRegex));
    EXPECT_TRUE(
        Match("a\xff"
              "b",
              "b$", kRegex));
    EXPECT_FALSE(Match("\xff", ".", kRegex));
    EXPECT_FALSE(Match("\xff", "[^a]", kRegex));
    EXPECT_TRUE(Match("x \xff Foo", "Foo", kWord));
}

TEST_F(MatchEngineTest, WordModeBuildsTheBoundaryPattern) {
    for (std::string_view line : {"Call Foo(1)", "Foo = 1", "x = Foo", "日本Foo語"}) {
        EXPECT_TRUE(Match(line, "Foo", kWord)) << line;
    }
    for (std::string_view line : {"FooBar", "My_Foo", "Foo2", "a|Foo", "Foo|b"}) {
        EXPECT_FALSE(Match(line, "Foo", kWord)) << line;
    }
    EXPECT_TRUE(Match("x = Bar", "Foo Bar", kWord));
    EXPECT_TRUE(Match("Foo", "Foo Bar", kWord));
    EXPECT_FALSE(Match("FooBar", "Foo Bar", kWord));
    EXPECT_TRUE(Match("a-b", "a.b", kWord));
    EXPECT_TRUE(Match("call foo", "Foo", kWord));
    EXPECT_FALSE(Match("call foo", "Foo", kWordBinary));
}

TEST_F(MatchEngineTest, InvalidPatternsAreNamedBeforeTheRun) {
    EXPECT_NE(engine_.PatternError("(a", kRegex).find("missing closing parenthesis"),
              std::string::npos);
    EXPECT_FALSE(engine_.PatternError("a)", kWordBinary).empty());
    EXPECT_TRUE(engine_.PatternError("^Sub (\\w+)", kRegex).empty());
    EXPECT_TRUE(engine_.PatternError("Foo Bar", kWord).empty());
    // Only regular expressions are checked; an invalid wildcard pattern matches nothing.
    EXPECT_TRUE(engine_.PatternError("(", kNormal).empty());
    EXPECT_TRUE(engine_.PatternError("[", kWildcard).empty());
}

TEST_F(MatchEngineTest, ALineTooCostlyToTestIsToldApartFromANonMatch) {
    const std::string line = std::string(40, 'a') + "!";
    // Catastrophic backtracking: the first alternative alone has 2^40 ways to fail.
    EXPECT_FALSE(Match(line, "^(?:(a|a)*!x|a+!)", kRegex));
    EXPECT_TRUE(engine_.LastLineUntested());
    // The same engine still tests other lines and patterns as usual.
    EXPECT_TRUE(Match(line, "a+!", kRegex));
    EXPECT_FALSE(engine_.LastLineUntested());
    EXPECT_FALSE(Match("bbb", "^(?:(a|a)*!x|a+!)", kRegex));
    EXPECT_FALSE(engine_.LastLineUntested());
    EXPECT_FALSE(Match("x = " + line, "(a|a)*!!", kWord));
    EXPECT_TRUE(engine_.LastLineUntested());
    EXPECT_FALSE(Match("abc", "x", kNormal));
    EXPECT_FALSE(engine_.LastLineUntested());
}

TEST_F(MatchEngineTest, AHugePatternTheJitCannotTakeIsBoundedToo) {
    // 8,000 "a*" make a pattern the JIT refuses; the interpreter's work is bounded as well,
    // so this ends (a test run without the bound took minutes).
    std::string search;
    for (int i = 0; i < 8000; ++i) search += "a*";
    const std::string line = std::string(6000, 'a') + "b";
    EXPECT_FALSE(Match(line, search, kWord));
    EXPECT_TRUE(engine_.LastLineUntested());
    EXPECT_TRUE(Match("x", search, kRegex));  // matches the empty string at once
}

TEST_F(MatchEngineTest, OptionsCanChangeFromCallToCall) {
    EXPECT_TRUE(Match("ABC", "abc", kNormal));
    EXPECT_FALSE(Match("ABC", "abc", kNormalBinary));
    EXPECT_TRUE(Match("ABC", "a.c", kRegex));
    EXPECT_FALSE(Match("ABC", "a.c", kNormal));
    EXPECT_TRUE(Match("ABC", "a?c", kWildcard));
    EXPECT_TRUE(Match("ABC", "ABC", kNormal));
    EXPECT_FALSE(Match("ABC", "a.c", kRegexBinary));
}

TEST(RegexIsLineLocal, RejectsConstructsThatLookBeyondTheLine) {
    for (std::string_view pattern : {"a", "^Sub\\s+\\w+\\(", "(?:a|b)$", "[^x]*y", "a{2,}"}) {
        EXPECT_TRUE(RegexIsLineLocal(pattern)) << pattern;
    }
    for (std::string_view pattern : {"\\Aa", "a\\z", "a\\Z", "\\Ga", "a\\Kb", "a(?!b)", "(?<=a)b",
                                     "(?=a)", "(?m)^a", "(*COMMIT)a", "a*+", "a++", "(?>a)"}) {
        EXPECT_FALSE(RegexIsLineLocal(pattern)) << pattern;
    }
}

TEST(CompiledRegex, FindReportsTheLeftmostStartFromAnOffset) {
    const auto regex = CompiledRegex::Compile("^b+", false, true);
    ASSERT_NE(regex, nullptr);
    std::size_t start = 0;
    const std::string_view text = "abb\r\nbb\nxb";
    EXPECT_EQ(regex->Find(text, 0, start), CompiledRegex::FindResult::Found);
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(regex->Find(text, 6, start), CompiledRegex::FindResult::NotFound);
    // Invalid bytes match nothing, yet the search goes on behind them.
    EXPECT_EQ(regex->Find("\xff\nbb", 0, start), CompiledRegex::FindResult::Found);
    EXPECT_EQ(start, 2u);
}

}  // namespace
}  // namespace trawlex
