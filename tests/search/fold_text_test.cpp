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
        // Wildcard search's normalisation turns no other characters into ASCII either.
        bool has_ascii = false;
        for (char ch : folded + NormaliseForLike(character)) {
            has_ascii = has_ascii || static_cast<unsigned char>(ch) < 0x80;
        }
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

// The standard full-width form of every half-width katakana and mark, U+FF61 to U+FF9F,
// written out rather than taken from the tables under test.
constexpr std::u32string_view kFullOfHalf =
    U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    U"マミムメモヤユヨラリルレロワン゛゜";

std::string Utf8Of(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) utf8::Append(out, c);
    return out;
}

TEST(HalfWidthKatakana, EveryHalfWidthFormFoldsAndNormalisesLikeItsFullForm) {
    ASSERT_EQ(kFullOfHalf.size(), 0xFF9F - 0xFF61 + 1u);
    for (char32_t half = 0xFF61; half <= 0xFF9F; ++half) {
        const std::string halfText = Utf8Of(std::u32string(1, half));
        const std::string fullText = Utf8Of(kFullOfHalf.substr(half - 0xFF61, 1));
        SCOPED_TRACE(halfText + " " + fullText);
        EXPECT_EQ(FoldForCompare(halfText), FoldForCompare(fullText));
        EXPECT_EQ(NormaliseForLike(fullText), halfText);
        EXPECT_EQ(NormaliseForLike(halfText), halfText);
        if (half >= 0xFF66 && half <= 0xFF9D && half != 0xFF70) {
            // The katakana fold to the full form itself, and their hiragana with them.
            EXPECT_EQ(FoldForCompare(halfText), fullText);
            const std::string hiragana =
                Utf8Of(std::u32string(1, kFullOfHalf[half - 0xFF61] - 0x60));
            EXPECT_EQ(FoldForCompare(hiragana), fullText);
            EXPECT_EQ(NormaliseForLike(hiragana), halfText);
        }
    }
}

struct MarkedKana {
    char32_t base;
    char32_t marked;
    bool semiVoiced;
    bool halfWidth;  // the base has a half-width form
};

// Every kana that takes a voiced or semi-voiced mark, and the single character it makes.
constexpr MarkedKana kMarkedKana[] = {
    {U'カ', U'ガ', false, true}, {U'キ', U'ギ', false, true},  {U'ク', U'グ', false, true},
    {U'ケ', U'ゲ', false, true}, {U'コ', U'ゴ', false, true},  {U'サ', U'ザ', false, true},
    {U'シ', U'ジ', false, true}, {U'ス', U'ズ', false, true},  {U'セ', U'ゼ', false, true},
    {U'ソ', U'ゾ', false, true}, {U'タ', U'ダ', false, true},  {U'チ', U'ヂ', false, true},
    {U'ツ', U'ヅ', false, true}, {U'テ', U'デ', false, true},  {U'ト', U'ド', false, true},
    {U'ハ', U'バ', false, true}, {U'ヒ', U'ビ', false, true},  {U'フ', U'ブ', false, true},
    {U'ヘ', U'ベ', false, true}, {U'ホ', U'ボ', false, true},  {U'ウ', U'ヴ', false, true},
    {U'ワ', U'ヷ', false, true}, {U'ヰ', U'ヸ', false, false}, {U'ヱ', U'ヹ', false, false},
    {U'ヲ', U'ヺ', false, true}, {U'ヽ', U'ヾ', false, false}, {U'ハ', U'パ', true, true},
    {U'ヒ', U'ピ', true, true},  {U'フ', U'プ', true, true},   {U'ヘ', U'ペ', true, true},
    {U'ホ', U'ポ', true, true},
};

TEST(MarkedKana, EveryBaseJoinsItsMarkInBothFoldings) {
    for (const MarkedKana& kana : kMarkedKana) {
        const std::string marked = Utf8Of(std::u32string(1, kana.marked));
        const std::string base = Utf8Of(std::u32string(1, kana.base));
        const std::string halfMark = kana.semiVoiced ? "ﾟ" : "ﾞ";
        const std::string combining = kana.semiVoiced ? "\u309A" : "\u3099";
        SCOPED_TRACE(marked);
        // Compare folding: the base with a half-width (spacing) or combining mark is the
        // marked kana, and never the base alone.
        EXPECT_EQ(FoldForCompare(base + halfMark), marked);
        EXPECT_EQ(FoldForCompare(base + combining), marked);
        EXPECT_NE(FoldForCompare(base), marked);
        if (kana.base != U'ヽ') {
            const std::string hiraganaBase = Utf8Of(std::u32string(1, kana.base - 0x60));
            EXPECT_EQ(FoldForCompare(hiraganaBase + combining), marked);
        }
        if (!kana.halfWidth) continue;
        // Like folding: the marked kana splits into the half-width base and mark, as does
        // the base with either mark.
        const std::string halfBase = NormaliseForLike(base);
        EXPECT_EQ(NormaliseForLike(marked), halfBase + halfMark);
        EXPECT_EQ(NormaliseForLike(base + combining), halfBase + halfMark);
        EXPECT_EQ(FoldForCompare(halfBase + halfMark), marked);
    }
}

TEST(NormaliseForLike, LowerCasesAsLCaseDoesWithoutFolding) {
    EXPECT_EQ(NormaliseForLike("ÄÖÜ ΣΑΣ ДОМ Ｋ"), "äöü σασ дом k");
    // Not capital letters: long s, final sigma, micro sign and the Kelvin, Ohm and Angstrom
    // signs stay as they are.
    EXPECT_EQ(NormaliseForLike("ſ ς µ \u212A \u2126 \u212B"), "ſ ς µ \u212A \u2126 \u212B");
    // The compare folding still folds them.
    EXPECT_EQ(FoldForCompare("ſ\u212A"), "sk");
}

}  // namespace
}  // namespace trawlex
