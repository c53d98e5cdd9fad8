#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/regex_cache.h"
#include "search/text_fold.h"

namespace trawlex {
namespace {

TEST(RegexRequiredLiteral, TakesTheLongestRunOutsideGroupsAndClasses) {
    EXPECT_EQ(RegexRequiredLiteral("Dim \\w+ As (String|Long)"), "Dim ");
    EXPECT_EQ(RegexRequiredLiteral("(a|b)cde[xyz]fg"), "cde");
    EXPECT_EQ(RegexRequiredLiteral("a\\.b\\(c"), "a.b(c");
    EXPECT_EQ(RegexRequiredLiteral("[]]xy"), "]xy");  // "[]" is a class of its own
    EXPECT_EQ(RegexRequiredLiteral("[[:alpha:]]abc"), "abc");
    EXPECT_EQ(RegexRequiredLiteral("^Sub (\\w+)$"), "Sub ");
}

TEST(RegexRequiredLiteral, QuantifiedCharactersLeaveTheRun) {
    EXPECT_EQ(RegexRequiredLiteral("abc*de"), "ab");
    EXPECT_EQ(RegexRequiredLiteral("abcd?e"), "abc");
    EXPECT_EQ(RegexRequiredLiteral("abc+de"), "abc");
    EXPECT_EQ(RegexRequiredLiteral("ab{2}cd"), "cd");
    EXPECT_EQ(RegexRequiredLiteral("ab{2,}"), "a");
    EXPECT_EQ(RegexRequiredLiteral("x{y}zz"), "y}zz");  // no quantifier: "{" is literal
}

TEST(RegexRequiredLiteral, EscapesEndTheRunWithTheirArguments) {
    EXPECT_EQ(RegexRequiredLiteral("\\x41BCD"), "");  // "BCD" could be hex digits
    EXPECT_EQ(RegexRequiredLiteral("\\cAbc xy"), " xy");
    EXPECT_EQ(RegexRequiredLiteral("\\k<name>.xyz"), "xyz");
    EXPECT_EQ(RegexRequiredLiteral("ab\\u0041"), "ab");
    EXPECT_EQ(RegexRequiredLiteral("表示ab"), "ab");
}

TEST(RegexRequiredLiteral, GivesNothingWhenItCannotBeSure) {
    for (const char* pattern : {"abc|de", "(?i)abc", "abc(?=x)", "\\Qabc\\E", "(*UTF)abc", "a(bc",
                                "ab)c", "abc\\", "[abc", "\\c", ""}) {
        EXPECT_EQ(RegexRequiredLiteral(pattern), "") << pattern;
    }
}

// Whatever a pattern matches holds its literal: as written, or in any case when caseless
// (where U+212A and U+017F stand for k and s, which the fold covers).
TEST(RegexRequiredLiteral, EveryMatchHoldsIt) {
    const std::vector<std::string> pieces = {
        "a", "b", "K",    "s",    " ",   "\\w", "\\d", ".",   "*",  "+",  "?", "{2}", "(",
        ")", "|", "[ab]", "[^a]", "\\.", "^",   "$",   "\\b", "ab", "Sk", "{", "}"};
    const std::vector<std::string> subjects_pieces = {"a",      "b", "A", "B", "k", "K",
                                                      "s",      "S", " ", ".", "1", "\u212A",
                                                      "\u017F", "{", "}", "2", "x"};
    std::mt19937 rng(1);
    std::uniform_int_distribution<std::size_t> pick_piece(0, pieces.size() - 1);
    std::uniform_int_distribution<std::size_t> pick_subject(0, subjects_pieces.size() - 1);
    int checked = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string pattern;
        for (int i = std::uniform_int_distribution<int>(1, 6)(rng); i > 0; --i) {
            pattern += pieces[pick_piece(rng)];
        }
        const std::string literal = RegexRequiredLiteral(pattern);
        if (literal.empty()) continue;
        for (bool caseless : {false, true}) {
            const auto regex = CompiledRegex::Compile(pattern, caseless, false);
            if (!regex) continue;
            for (int s = 0; s < 40; ++s) {
                std::string subject;
                for (int i = std::uniform_int_distribution<int>(0, 8)(rng); i > 0; --i) {
                    subject += subjects_pieces[pick_subject(rng)];
                }
                if (!regex->Test(subject)) continue;
                const bool holds =
                    caseless
                        ? FoldForCompare(subject).find(FoldForCompare(literal)) != std::string::npos
                        : subject.find(literal) != std::string::npos;
                ASSERT_TRUE(holds) << "pattern [" << pattern << "] literal [" << literal
                                   << "] subject [" << subject << "] caseless " << caseless;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace trawlex
