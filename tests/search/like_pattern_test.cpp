#include "search/like_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace trawlex {
namespace {

bool Like(std::string_view text, std::string_view pattern) {
    const std::optional<bool> result = LikeMatch(text, pattern);
    EXPECT_TRUE(result.has_value()) << "pattern " << pattern << " should be valid";
    return result.value_or(false);
}

bool Invalid(std::string_view pattern) {
    return !LikePattern::Compile(pattern).has_value();
}

TEST(LikePattern, WildcardsCoverTheWholeText) {
    EXPECT_TRUE(Like("abc", "a?c"));
    EXPECT_FALSE(Like("ac", "a?c"));
    EXPECT_FALSE(Like("abcd", "a?c"));
    EXPECT_TRUE(Like("ac", "a*c"));
    EXPECT_TRUE(Like("abbbc", "a*c"));
    EXPECT_FALSE(Like("abbbcd", "a*c"));
    EXPECT_TRUE(Like("", "*"));
    EXPECT_TRUE(Like("", ""));
    EXPECT_FALSE(Like("a", ""));
    EXPECT_TRUE(Like("x51", "*#1*"));
    EXPECT_FALSE(Like("xa1", "x#1"));
    EXPECT_FALSE(Like("x１1", "x#1"));  // only ASCII digits
    EXPECT_TRUE(Like("aXbXc", "*X*X*"));
    EXPECT_FALSE(Like("aXb", "*X*X*"));
}

TEST(LikePattern, CharactersAreCodePoints) {
    EXPECT_TRUE(Like("日本語", "日?語"));
    EXPECT_FALSE(Like("日本語", "日??語"));
    EXPECT_TRUE(Like("ｶﾞ", "??"));
    EXPECT_TRUE(Like("日本語", "[日月]*"));
    EXPECT_TRUE(Like("ん", "[ぁ-ん]"));
}

TEST(LikePattern, CharacterLists) {
    EXPECT_TRUE(Like("b", "[abc]"));
    EXPECT_FALSE(Like("d", "[abc]"));
    EXPECT_TRUE(Like("m", "[a-z]"));
    EXPECT_FALSE(Like("M", "[a-z]"));
    EXPECT_TRUE(Like("5", "[a-c0-9]"));
    EXPECT_TRUE(Like("d", "[!abc]"));
    EXPECT_FALSE(Like("a", "[!abc]"));
    EXPECT_TRUE(Like("x", "[!a-c]"));
    EXPECT_TRUE(Like("c", "[c-c]"));
    // A hyphen at the start or the end of a list is literal.
    EXPECT_TRUE(Like("-", "[-a]"));
    EXPECT_TRUE(Like("-", "[a-]"));
    EXPECT_FALSE(Like("-", "[!-a]"));
    EXPECT_FALSE(Like("b", "[-a]"));
    // Special characters are literal inside a list.
    EXPECT_TRUE(Like("[", "[[]"));
    EXPECT_TRUE(Like("*", "[*]"));
    EXPECT_FALSE(Like("x", "[*]"));
    EXPECT_TRUE(Like("?", "[?]"));
    EXPECT_FALSE(Like("a", "[?]"));
    EXPECT_TRUE(Like("#", "[#]"));
    EXPECT_FALSE(Like("1", "[#]"));
    EXPECT_TRUE(Like("a*b", "a[*]b"));
    EXPECT_FALSE(Like("axb", "a[*]b"));
    // "[]" stands for nothing.
    EXPECT_TRUE(Like("ab", "a[]b"));
}

TEST(LikePattern, DigitSignTakesEveryAsciiDigit) {
    for (char digit = '0'; digit <= '9'; ++digit) {
        EXPECT_TRUE(Like(std::string(1, digit), "#")) << digit;
    }
    EXPECT_TRUE(Like("a09z", "a##z"));
    EXPECT_FALSE(Like("/", "#"));  // the characters around the digits
    EXPECT_FALSE(Like(":", "#"));
    EXPECT_FALSE(Like("12", "#"));
}

TEST(LikePattern, BangNegatesOnlyAtTheStartOfAList) {
    EXPECT_TRUE(Like("!", "[a!]"));
    EXPECT_TRUE(Like("a", "[a!]"));
    EXPECT_FALSE(Like("b", "[a!]"));
    EXPECT_FALSE(Like("!", "[!!]"));
    EXPECT_TRUE(Like("a", "[!!]"));
    // A negated empty list takes any one character.
    EXPECT_TRUE(Like("a", "[!]"));
    EXPECT_TRUE(Like("!", "[!]"));
    EXPECT_FALSE(Like("", "[!]"));
    EXPECT_FALSE(Like("ab", "[!]"));
}

TEST(LikePattern, HyphenFirstOrLastIsLiteralWithAndWithoutNegation) {
    EXPECT_TRUE(Like("-", "[-z]"));
    EXPECT_TRUE(Like("z", "[-z]"));
    EXPECT_FALSE(Like("m", "[-z]"));
    EXPECT_TRUE(Like("-", "[z-]"));
    EXPECT_FALSE(Like("m", "[z-]"));
    EXPECT_FALSE(Like("-", "[!-z]"));
    EXPECT_FALSE(Like("z", "[!-z]"));
    EXPECT_TRUE(Like("m", "[!-z]"));
    EXPECT_FALSE(Like("-", "[!z-]"));
    EXPECT_TRUE(Like("m", "[!z-]"));
    EXPECT_TRUE(Like("-", "[-]"));
    EXPECT_FALSE(Like("-", "[!-]"));
    EXPECT_TRUE(Like("x", "[!-]"));
}

TEST(LikePattern, BracketAndBangOutsideAListAreLiteral) {
    EXPECT_TRUE(Like("a]", "a]"));
    EXPECT_FALSE(Like("ab", "a]"));
    EXPECT_TRUE(Like("!x", "!x"));
    EXPECT_TRUE(Like("x!", "*!"));
}

TEST(LikePattern, InvalidPatterns) {
    EXPECT_TRUE(Invalid("["));
    EXPECT_TRUE(Invalid("*[*"));
    EXPECT_TRUE(Invalid("a[bc"));
    EXPECT_TRUE(Invalid("[z-a]"));
    EXPECT_TRUE(Invalid("*[9-0]*"));
    EXPECT_FALSE(LikeMatch("[", "[").has_value());
    EXPECT_FALSE(Invalid("[a-z]"));
    EXPECT_FALSE(Invalid("]"));
}

TEST(LikePattern, ManyStarsStayFast) {
    // Exponential backtracking would never finish here.
    const std::string text(20000, 'a');
    EXPECT_FALSE(Like(text, "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(Like(text + "b", "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(LikePattern, InvalidBytesMatchOnlyThemselves) {
    EXPECT_TRUE(
        Like("a\xff"
             "b",
             "a?b"));
    EXPECT_TRUE(
        Like("a\xff"
             "b",
             "a\xff"
             "b"));
    EXPECT_FALSE(
        Like("a\xfe"
             "b",
             "a\xff"
             "b"));
}

TEST(LikePattern, RequiredLiteralIsTheLongestLiteralRun) {
    EXPECT_EQ(LikePattern::Compile("*ab?cde*")->RequiredLiteral(), "cde");
    EXPECT_EQ(LikePattern::Compile("*日本#*")->RequiredLiteral(), "日本");
    EXPECT_EQ(LikePattern::Compile("*a[]bc*")->RequiredLiteral(), "bc");
    EXPECT_EQ(LikePattern::Compile("*?#[ab]*")->RequiredLiteral(), "");
}

}  // namespace
}  // namespace trawlex
