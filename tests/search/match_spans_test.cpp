#include "search/match_spans.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_decode.h"

namespace trawlex {
namespace {

using Spans = std::vector<MatchSpan>;

// The texts the spans cover, so a failure shows characters rather than offsets.
std::vector<std::string> Covered(std::string_view line, const Spans& spans) {
    std::vector<std::string> texts;
    for (const MatchSpan& span : spans) {
        texts.emplace_back(line.substr(span.begin, span.end - span.begin));
    }
    return texts;
}

class SpanFinderTest : public ::testing::Test {
  protected:
    std::vector<std::string> Find(std::string_view line, std::string_view search, SearchMode mode,
                                  bool binary = false) {
        return Covered(line, finder_.Find(line, search, {mode, binary}));
    }
    SpanFinder finder_;
};

using Texts = std::vector<std::string>;

TEST_F(SpanFinderTest, PlainFoldedMatchesMapBackToTheLinesOwnCharacters) {
    EXPECT_EQ(Find("xabcx ABC", "ABC", SearchMode::Normal), (Texts{"abc", "ABC"}));
    // Full-width letters: three bytes each in the line, one each in the fold.
    EXPECT_EQ(Find("Dim ＡＢＣ = abc", "abc", SearchMode::Normal), (Texts{"ＡＢＣ", "abc"}));
    // Hiragana, katakana and half-width katakana all stand for the same kana.
    EXPECT_EQ(Find("かな カナ ｶﾅ", "カナ", SearchMode::Normal), (Texts{"かな", "カナ", "ｶﾅ"}));
    // A half-width voiced kana is two characters in the line and one in the fold.
    EXPECT_EQ(Find("' ｶﾞｲﾄﾞ の ガイド", "がいど", SearchMode::Normal), (Texts{"ｶﾞｲﾄﾞ", "ガイド"}));
    // A match that ends on a kana whose mark follows takes the mark with it.
    EXPECT_EQ(Find("ﾊﾞｯｸ", "バ", SearchMode::Normal), (Texts{"ﾊﾞ"}));
    EXPECT_EQ(Find("abc", "ABC", SearchMode::Normal, true), Texts{});
    EXPECT_EQ(Find("ABC abc ABC", "ABC", SearchMode::Normal, true), (Texts{"ABC", "ABC"}));
    EXPECT_EQ(Find("aaaa", "aa", SearchMode::Normal), (Texts{"aa", "aa"}));
    EXPECT_EQ(Find("abc", "   ", SearchMode::Normal), Texts{});
}

TEST_F(SpanFinderTest, WildcardSpansAreTheLongestStretchTheSearchStringCovers) {
    EXPECT_EQ(Find("xAbbCx", "a*c", SearchMode::Wildcard), (Texts{"AbbC"}));
    EXPECT_EQ(Find("abc ac", "a?c", SearchMode::Wildcard), (Texts{"abc"}));
    EXPECT_EQ(Find("x51 y7", "#", SearchMode::Wildcard), (Texts{"5", "1", "7"}));
    EXPECT_EQ(Find("Call Foo(1)", "F[a-z]o", SearchMode::Wildcard), (Texts{"Foo"}));
    // Normalised: hiragana and full-width in the line, half-width katakana in the search.
    EXPECT_EQ(Find("' てすと です", "ﾃｽﾄ", SearchMode::Wildcard), (Texts{"てすと"}));
    EXPECT_EQ(Find("ガイド", "ｶﾞ", SearchMode::Wildcard), (Texts{"ガ"}));
    // A part of a character that normalises into two covers the whole character.
    EXPECT_EQ(Find("ガイド", "ｶ", SearchMode::Wildcard), (Texts{"ガ"}));
    EXPECT_EQ(Find("xAbbCx", "a*c", SearchMode::Wildcard, true), Texts{});
    EXPECT_EQ(Find("abc", "[", SearchMode::Wildcard), Texts{});
}

TEST_F(SpanFinderTest, RegexSpansAreEveryMatchOfAGlobalSearch) {
    EXPECT_EQ(Find("Sub Foo: sub bar", "sub", SearchMode::Regex), (Texts{"Sub", "sub"}));
    EXPECT_EQ(Find("Sub Foo: sub bar", "sub", SearchMode::Regex, true), (Texts{"sub"}));
    EXPECT_EQ(Find("a1b22c333", "[0-9]+", SearchMode::Regex), (Texts{"1", "22", "333"}));
    EXPECT_EQ(Find("日本語のテキスト", "の.キ", SearchMode::Regex), (Texts{"のテキ"}));
    // An empty match has a place but nothing to cover.
    const Spans empty = finder_.Find("abc", "^", {SearchMode::Regex, false});
    EXPECT_EQ(empty, (Spans{{0, 0}}));
    EXPECT_EQ(Find("abc", "(", SearchMode::Regex), Texts{});
}

TEST_F(SpanFinderTest, WordSpansLeaveTheBoundingCharactersOut) {
    EXPECT_EQ(Find("Foo = Foo(1) + FooBar", "Foo", SearchMode::Word), (Texts{"Foo", "Foo"}));
    // Words next to each other share the character between them.
    EXPECT_EQ(Find("Foo Foo", "Foo", SearchMode::Word), (Texts{"Foo", "Foo"}));
    EXPECT_EQ(Find("x = Bar + Foo", "Foo Bar", SearchMode::Word), (Texts{"Bar", "Foo"}));
    EXPECT_EQ(Find("日本Foo語", "foo", SearchMode::Word), (Texts{"Foo"}));
    EXPECT_EQ(Find("a|Foo My_Foo", "Foo", SearchMode::Word), Texts{});
}

TEST_F(SpanFinderTest, SpansInACp932LineDecodedAsTheScanDecodesIt) {
    // "' 検索ﾃｽﾄ：ＦＯＯ" in Shift_JIS.
    const std::string bytes = EncodeCp932("' 検索ﾃｽﾄ：ＦＯＯ");
    ASSERT_NE(bytes, "' 検索ﾃｽﾄ：ＦＯＯ");
    const std::string line = DecodeText(bytes);
    EXPECT_EQ(Find(line, "てすと", SearchMode::Normal), (Texts{"ﾃｽﾄ"}));
    EXPECT_EQ(Find(line, "foo", SearchMode::Normal), (Texts{"ＦＯＯ"}));
    EXPECT_EQ(Find(line, "検索", SearchMode::Regex), (Texts{"検索"}));
}

TEST(CodePointSpans, CountsCodePointsFromTheTextsStart) {
    const std::string text = "x = \"ＡＢＣ\" ' abc";
    SpanFinder finder;
    const Spans spans = finder.Find(text, "abc", {SearchMode::Normal, false});
    EXPECT_EQ(CodePointSpans(text, spans), (Spans{{5, 8}, {12, 15}}));
    // Four-byte characters count one each; a span past the end stops at it.
    EXPECT_EQ(CodePointSpans("😀a😀b", {{4, 5}, {9, 10}, {9, 99}}), (Spans{{1, 2}, {3, 4}, {3, 4}}));
}

}  // namespace
}  // namespace trawlex
