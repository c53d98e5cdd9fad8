#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "base/utf8_codec.h"
#include "search/text_fold.h"

namespace trawlex {
namespace {

bool ContainsFolded(std::string_view text, std::string_view needle) {
    return FoldForCompare(text).find(FoldForCompare(needle)) != std::string::npos;
}

TEST(FoldForCompare, LettersOfEveryScriptFoldToOneCase) {
    EXPECT_EQ(FoldForCompare("Hello WORLD 123_!"), "hello world 123_!");
    EXPECT_EQ(FoldForCompare("ÀÉÎÕÜÝÞ"), "àéîõüýþ");
    EXPECT_EQ(FoldForCompare("ĀĂĄĆŁŃŐŒŠŸŽ"), "āăąćłńőœšÿž");
    EXPECT_EQ(FoldForCompare("ΑΒΓΔΩ Σς"), "αβγδω σσ");
    EXPECT_EQ(FoldForCompare("АБВГДЁЯ"), "абвгдёя");
    // Full-width letters are narrowed and lower-cased.
    EXPECT_EQ(FoldForCompare("ＡＢＣｘｙｚ"), "abcxyz");
    EXPECT_EQ(FoldForCompare("\u212A"), "k");  // Kelvin sign
}

// A line holding an ASCII search in any letter case matches without being folded.
TEST(FoldForCompare, AsciiKeepsAllButItsLetterCase) {
    for (int c = 0; c < 0x80; ++c) {
        const std::string ch(1, static_cast<char>(c));
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : static_cast<char>(c);
        EXPECT_EQ(FoldForCompare(ch), std::string(1, lower)) << c;
    }
}

TEST(FoldForCompare, FullWidthAsciiAndIdeographicSpaceAreNarrow) {
    EXPECT_EQ(FoldForCompare("！＃＄（）０９＝～"), "!#$()09=~");
    EXPECT_EQ(FoldForCompare("a\u3000b"), "a b");
    EXPECT_EQ(FoldForCompare("￥"), "¥");
}

TEST(FoldForCompare, KanaFoldsToFullWidthKatakana) {
    EXPECT_EQ(FoldForCompare("かな"), "カナ");
    EXPECT_EQ(FoldForCompare("ｶﾅ"), "カナ");
    EXPECT_EQ(FoldForCompare("ｶﾞ"), "ガ");
    EXPECT_EQ(FoldForCompare("が"), "ガ");
    EXPECT_EQ(FoldForCompare("ﾊﾟﾋﾟﾌﾞ"), "パピブ");
    EXPECT_EQ(FoldForCompare("ｳﾞ"), "ヴ");
    EXPECT_EQ(FoldForCompare("ﾃﾞｰﾀ"), "データ");
    EXPECT_EQ(FoldForCompare("｢ｱ｣､｡･"), "「ア」、。・");
    // Combining marks join too; a mark that cannot join stays a mark of its own.
    EXPECT_EQ(FoldForCompare("か\u3099"), "ガ");
    EXPECT_EQ(FoldForCompare("ｱﾞ"), "ア゛");
    EXPECT_EQ(FoldForCompare("ﾞ"), "゛");
}

TEST(FoldForCompare, VoicedKanaNeverEqualsItsBase) {
    EXPECT_FALSE(ContainsFolded("が", "か"));
    EXPECT_FALSE(ContainsFolded("データ", "テ"));
    EXPECT_FALSE(ContainsFolded("ﾃﾞｰﾀ", "テ"));
    EXPECT_FALSE(ContainsFolded("パ", "ハ"));
    EXPECT_TRUE(ContainsFolded("データ", "ﾃﾞ"));
    EXPECT_TRUE(ContainsFolded("ﾃﾞｰﾀ", "でー"));
}

TEST(FoldForCompare, KeepsLineBreaksAndInvalidBytes) {
    EXPECT_EQ(FoldForCompare("A\r\nB\rC\n"), "a\r\nb\rc\n");
    const std::string invalid = "A\xff\xc3(\xe3\x81";
    EXPECT_EQ(FoldForCompare(invalid), "a\xff\xc3(\xe3\x81");
    // The half-width mark does not reach across a line break.
    EXPECT_EQ(FoldForCompare("ｶ\nﾞ"), "カ\n゛");
}

TEST(FoldForCompare, LongMixedTextFoldsLikeItsPieces) {
    // Crosses the ASCII fast path and the internal chunk size.
    std::string text;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        text += "Dim X As String ' ｶﾞ\r\n";
        expected += "dim x as string ' ガ\r\n";
    }
    EXPECT_EQ(FoldForCompare(text), expected);
}

TEST(FoldForCompare, OnlyTheListedPrefixesFoldToAsciiAndKanjiFoldOnlyFromThemselves) {
    // The plain-text scan relies on both to look for needles without folding the text.
    for (char32_t cp = 0x80; cp < 0x30000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string character;
        utf8::Append(character, cp);
        const std::string folded = FoldForCompare(character);
        const bool unfolded = cp >= kUnfoldedFirst && cp <= kUnfoldedLast;
        if (unfolded) {
            EXPECT_EQ(folded, character) << std::hex << static_cast<unsigned>(cp);
        }
        std::size_t pos = 0;
        while (!unfolded && pos < folded.size()) {
            const char32_t out = utf8::Next(folded, pos);
            EXPECT_FALSE(out >= kUnfoldedFirst && out <= kUnfoldedLast)
                << std::hex << static_cast<unsigned>(cp);
        }
        bool has_ascii = false;
        for (char ch : folded) has_ascii = has_ascii || static_cast<unsigned char>(ch) < 0x80;
        if (!has_ascii) continue;
        bool listed = false;
        for (std::string_view prefix : kFoldsToAsciiPrefixes) {
            listed = listed || character.starts_with(prefix);
        }
        EXPECT_TRUE(listed) << std::hex << static_cast<unsigned>(cp);
    }
}

TEST(FoldSources, ListEveryTextThatFoldsToAKanaOrMark) {
    std::map<std::string, std::set<std::string>>
        folds_of;  // fold -> texts, for one-character folds
    const auto consider = [&](const std::string& text) {
        const std::string folded = FoldForCompare(text);
        std::size_t pos = 0;
        const char32_t cp = utf8::Next(folded, pos);
        if (pos == folded.size() && cp >= 0x3000 && cp <= 0x30FF) folds_of[folded].insert(text);
    };
    for (char32_t cp = 0x80; cp < 0x30000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string text;
        utf8::Append(text, cp);
        consider(text);
        if ((cp >= 0x3000 && cp <= 0x30FF) || (cp >= 0xFF61 && cp <= 0xFF9F)) {
            for (char32_t mark : {0xFF9E, 0xFF9F, 0x3099, 0x309A, 0x309B, 0x309C}) {
                std::string pair = text;
                utf8::Append(pair, mark);
                consider(pair);
            }
        }
    }
    EXPECT_EQ(folds_of["ガ"], (std::set<std::string>{"ガ", "が", "ｶﾞ", "カ\u3099", "か\u3099",
                                                     "ｶ\u3099", "カﾞ", "かﾞ"}));
    for (char32_t c = 0x3000; c <= 0x30FF; ++c) {
        std::string character;
        utf8::Append(character, c);
        const std::vector<std::string> listed = FoldSources(c);
        const std::set<std::string> sources(listed.begin(), listed.end());
        EXPECT_EQ(sources, folds_of[character]) << std::hex << static_cast<unsigned>(c);
    }
}

TEST(NormaliseForLike, LowerKatakanaHalfWidth) {
    EXPECT_EQ(NormaliseForLike("ABC ＡＢＣ"), "abc abc");
    EXPECT_EQ(NormaliseForLike("てすと"), "ﾃｽﾄ");
    EXPECT_EQ(NormaliseForLike("テスト"), "ﾃｽﾄ");
    EXPECT_EQ(NormaliseForLike("ガ"), "ｶﾞ");
    EXPECT_EQ(NormaliseForLike("ぱ"), "ﾊﾟ");
    EXPECT_EQ(NormaliseForLike("ヴ"), "ｳﾞ");
    EXPECT_EQ(NormaliseForLike("「ー」"), "｢ｰ｣");
    // Full-width wildcard characters become wildcards.
    EXPECT_EQ(NormaliseForLike("＊？＃［"), "*?#[");
    // Katakana without a half-width form stay as they are.
    EXPECT_EQ(NormaliseForLike("ヶヰ"), "ヶヰ");
    EXPECT_EQ(NormaliseForLike("\u3000x\r\n"), " x\r\n");
}

}  // namespace
}  // namespace trawlex
