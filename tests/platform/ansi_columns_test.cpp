#include "platform/ansi_columns.h"

#include <gtest/gtest.h>

namespace trawlex::platform {
namespace {

// "Dim 変数 As ｶﾅ": ASCII, two double-byte kanji, half-width katakana; 12 characters
// in 14 ANSI bytes.
const std::string kLine = "Dim 変数 As ｶﾅ";

TEST(AnsiColumnsTest, DoubleByteCharactersCountTwo) {
    EXPECT_EQ(AnsiLength(kLine), 4 + 4 + 4 + 2);
    EXPECT_EQ(AnsiColumnOfChar(kLine, 0), 1);
    EXPECT_EQ(AnsiColumnOfChar(kLine, 4), 5);    // 変
    EXPECT_EQ(AnsiColumnOfChar(kLine, 5), 7);    // 数
    EXPECT_EQ(AnsiColumnOfChar(kLine, 6), 9);    // the blank after it
    EXPECT_EQ(AnsiColumnOfChar(kLine, 10), 13);  // ｶ
    EXPECT_EQ(AnsiColumnOfChar(kLine, 11), 14);  // ﾅ, after ｶ's one byte
    EXPECT_EQ(AnsiColumnOfChar(kLine, 12), 15);  // just past the end
    EXPECT_EQ(AnsiColumnOfChar(kLine, 99), 15);
    EXPECT_EQ(AnsiColumnOfChar(kLine, -3), 1);
}

TEST(AnsiColumnsTest, ColumnsBackToCharacters) {
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 1), 0);
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 5), 4);
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 6), 4);  // second byte of 変
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 7), 5);
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 9), 6);
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 14), 11);
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 15), 12);
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 99), 12);
    EXPECT_EQ(CharIndexOfAnsiColumn(kLine, 0), 0);
    for (int i = 0; i <= 12; ++i)
        EXPECT_EQ(CharIndexOfAnsiColumn(kLine, AnsiColumnOfChar(kLine, i)), i);
}

TEST(AnsiColumnsTest, UnmappedAndAstralCharacters) {
    // é has no CP932 form ('?', 1 byte); 😀 is two UTF-16 units, each a '?'.
    const std::string line = "é😀あ";
    EXPECT_EQ(AnsiLength(line), 1 + 2 + 2);
    EXPECT_EQ(AnsiColumnOfChar(line, 1), 2);
    EXPECT_EQ(AnsiColumnOfChar(line, 2), 3);  // the low surrogate
    EXPECT_EQ(AnsiColumnOfChar(line, 3), 4);  // あ
    EXPECT_EQ(CharIndexOfAnsiColumn(line, 5), 3);
    EXPECT_EQ(AnsiSubstring(line, 2, 2), "😀");
    EXPECT_EQ(AnsiSubstring(line, 2, 1), "");
}

TEST(AnsiColumnsTest, SubstringCutsWholeCharacters) {
    EXPECT_EQ(AnsiSubstring(kLine, 5, 4), "変数");
    EXPECT_EQ(AnsiSubstring(kLine, 1, 3), "Dim");
    EXPECT_EQ(AnsiSubstring(kLine, 13, 2), "ｶﾅ");
    EXPECT_EQ(AnsiSubstring(kLine, 13, 100), "ｶﾅ");
    // Ranges that cut a double-byte character leave it out.
    EXPECT_EQ(AnsiSubstring(kLine, 6, 3), "数");
    EXPECT_EQ(AnsiSubstring(kLine, 6, 4), "数 ");
    EXPECT_EQ(AnsiSubstring(kLine, 5, 3), "変");
    EXPECT_EQ(AnsiSubstring(kLine, 5, 0), "");
    EXPECT_EQ(AnsiSubstring(kLine, 40, 5), "");
    EXPECT_EQ(AnsiSubstring("", 1, 5), "");
}

}  // namespace
}  // namespace trawlex::platform
