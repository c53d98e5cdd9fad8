#include "base/text_decode.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "base/cp932_codec.h"
#include "search/file_reader.h"
#include "temp_folder.h"

namespace trawlex {
namespace {

constexpr std::string_view kFffd = "\xEF\xBF\xBD";

TEST(DecodeTextTest, ByteOrderMarksWinAndAreStripped) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "abc"),
              "abc");
    EXPECT_EQ(DecodeText(std::string_view("\xFF\xFE"
                                          "a\0\x42\x30",
                                          6)),
              "aあ");
    EXPECT_EQ(DecodeText(std::string_view("\xFE\xFF"
                                          "\0a\x30\x42",
                                          6)),
              "aあ");
    EXPECT_EQ(DecodeText(std::string_view("\xFF\xFE"
                                          "\x3D\xD8\x00\xDE",
                                          6)),
              "\xF0\x9F\x98\x80");
    // A BOM alone is an empty text.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"), "");
    EXPECT_EQ(DecodeText("\xFF\xFE"), "");
}

TEST(DecodeTextTest, BrokenUtf16BecomesReplacementCharacters) {
    // Odd length: the last byte has no partner.
    EXPECT_EQ(DecodeText(std::string_view("\xFF\xFE"
                                          "a\0b",
                                          5)),
              "a" + std::string(kFffd));
    // Unpaired high and low surrogates.
    EXPECT_EQ(DecodeText(std::string_view("\xFF\xFE"
                                          "\x3D\xD8"
                                          "a\0",
                                          6)),
              std::string(kFffd) + "a");
    EXPECT_EQ(DecodeText(std::string_view("\xFE\xFF"
                                          "\xDE\x00",
                                          4)),
              kFffd);
    EXPECT_EQ(DecodeText(std::string_view("\xFE\xFF"
                                          "\xD8\x3D",
                                          4)),
              kFffd);
}

TEST(DecodeTextTest, Utf8BomWithInvalidBytesKeepsTheRest) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "a\x82"
                         "b"),
              "a" + std::string(kFffd) + "b");
}

TEST(DecodeTextTest, ValidUtf8StaysAsItIs) {
    const std::string text = "Sub 在庫()\r\n  ' ～ № ｶﾞ ＡＢＣ 😀\r\nEnd Sub";
    EXPECT_EQ(DecodeText(text), text);
    EXPECT_EQ(DecodeText(""), "");
    // Long ASCII runs on both sides of the non-ASCII part exercise the block-wise check.
    const std::string longText = std::string(100, 'x') + "表" + std::string(37, 'y');
    EXPECT_EQ(DecodeText(longText), longText);
}

TEST(DecodeTextTest, InvalidUtf8IsReadAsCp932) {
    // "表示" in CP932: 0x95 0x5C 0x8E 0xA6. The trail byte 0x5C must not become '\'.
    EXPECT_EQ(DecodeText("\x95\x5C\x8E\xA6"), "表示");
    // Windows mappings: 0x8160 is the full-width tilde, 0x8782 the numero sign.
    EXPECT_EQ(DecodeText("\x81\x60"), "～");
    EXPECT_EQ(DecodeText("\x87\x82"), "№");
    EXPECT_EQ(DecodeText("\x81\x7C"), "－");  // U+FF0D, not U+2212
    EXPECT_EQ(DecodeText("\xFA\x40"), "ⅰ");
    // Half-width katakana are single bytes.
    EXPECT_EQ(DecodeText("\xB6\xDE"), "ｶﾞ");
    EXPECT_EQ(DecodeText("' \x8D\xDD\x8C\xC9\r\nx = \"\x82\x60\x82\x61\x82\x62\""),
              "' 在庫\r\nx = \"ＡＢＣ\"");
    // An overlong form is not valid UTF-8 either; as CP932 these are two katakana.
    EXPECT_EQ(DecodeText("\xC0\xAF"), "ﾀｯ");
}

TEST(DecodeTextTest, UndecodableCp932BytesBecomeReplacementCharacters) {
    // A lead byte with a bad trail byte: only the lead byte is lost.
    EXPECT_EQ(DecodeText("\x82\x20"
                         "x"),
              std::string(kFffd) + " x");
    // A lead byte cut off at the end of the text.
    EXPECT_EQ(DecodeText("\x95\x5C\x95"), "表" + std::string(kFffd));
    // Decoding carries on after the bad bytes.
    EXPECT_EQ(DecodeText("\x81\x60\x82\x20\x87\x82"), "～" + std::string(kFffd) + " №");
}

TEST(DecodeTextTest, SingleBytesDecodeAsWindowsDoesAndEncodeBack) {
    EXPECT_EQ(DecodeText("a\x80"
                         "b"),
              "a\u0080b");
    EXPECT_EQ(DecodeText("\xA0\xFD\xFE\xFF"), "\uF8F0\uF8F1\uF8F2\uF8F3");
    EXPECT_EQ(DecodeCp932("\x80\xA0\xFD\xFE\xFF"), "\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    // Saving in CP932 writes the same bytes again.
    EXPECT_EQ(EncodeCp932("\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), "\x80\xA0\xFD\xFE\xFF");
    EXPECT_EQ(AnsiByteLength("\uF8F0x"), 2u);
    // Other private-use characters still have no byte.
    EXPECT_EQ(EncodeCp932("\uF8F4"), "?");
}

TEST(DecodeTextTest, TwoByteUtf8AloneIsReadAsCp932) {
    // "ﾒｲ" (D2 B2) and "ﾃｽ" (C3 BD) in CP932 are also valid two-byte UTF-8 (U+04B2, U+00FD).
    EXPECT_EQ(DecodeText("' \xD2\xB2\r\n"), "' ﾒｲ\r\n");
    EXPECT_EQ(DecodeText("x = \"\xC3\xBD\xC4\xB1\""), "x = \"ﾃｽﾄｱ\"");
    EXPECT_EQ(DetectByteEncoding("\xD2\xB2"), ByteEncoding::Cp932);
    // One three- or four-byte sequence makes the whole text UTF-8.
    EXPECT_EQ(DecodeText("\xC3\xA9 \xE8\xA1\xA8"), "é 表");
    EXPECT_EQ(DecodeText("\xC3\xA9 \xF0\x9F\x98\x80"), "é 😀");
    EXPECT_EQ(DetectByteEncoding("\xC3\xA9 \xE8\xA1\xA8"), ByteEncoding::Utf8);
    // A BOM says UTF-8 whatever follows.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xD2\xB2"), "\u04B2");
    EXPECT_EQ(DetectByteEncoding("abc"), ByteEncoding::Utf8);
}

TEST(DecodeTextTest, AnExplicitChoiceOverridesTheDetection) {
    EXPECT_EQ(DecodeText("\xD2\xB2", EncodingChoice::Utf8), "\u04B2");
    EXPECT_EQ(DecodeText("\xE8\xA1\xA8", EncodingChoice::Cp932), "陦ｨ");
    // Forced UTF-8 keeps valid sequences and marks the rest.
    EXPECT_EQ(DecodeText("a\x82\xA0"
                         "b",
                         EncodingChoice::Utf8),
              "a" + std::string(kFffd) + std::string(kFffd) + "b");
    EXPECT_EQ(DetectByteEncoding("\xD2\xB2", EncodingChoice::Utf8), ByteEncoding::Utf8);
    EXPECT_EQ(DetectByteEncoding("\xE8\xA1\xA8", EncodingChoice::Cp932), ByteEncoding::Cp932);
    // BOMs still decide.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xE8\xA1\xA8", EncodingChoice::Cp932), "表");
    EXPECT_EQ(DecodeBuffer("\xD2\xB2", EncodingChoice::Utf8), "\u04B2");
}

TEST(DecodeTextTest, LargeTextDecodesLikeSmallOnes) {
    // Large texts take a sizing pass first; the result must not change.
    const std::string piece = "\x95\x5C\xB6\xDE\x82 x = 1\r\n";
    const std::string decodedPiece = DecodeText(piece);
    ASSERT_EQ(decodedPiece, "表ｶﾞ" + std::string(kFffd) + " x = 1\r\n");
    std::string bytes;
    std::string expected;
    while (bytes.size() < (3u << 20)) {
        bytes += piece;
        expected += decodedPiece;
    }
    bytes += "\x95";  // cut-off lead byte at the very end
    expected += kFffd;
    EXPECT_EQ(DecodeText(bytes), expected);
}

TEST(DecodeTextTest, DecodedTextIsAlwaysValidUtf8) {
    std::string everyPair;
    for (int lead = 0x80; lead < 0x100; ++lead) {
        for (int trail = 0; trail < 0x100; trail += 7) {
            everyPair.push_back(static_cast<char>(lead));
            everyPair.push_back(static_cast<char>(trail));
        }
    }
    EXPECT_TRUE(IsValidUtf8(DecodeText(everyPair)));
}

TEST(DecodeBufferTest, AgreesWithDecodeText) {
    for (std::string bytes : {std::string("plain"),
                              std::string("\xEF\xBB\xBF"
                                          "bom"),
                              std::string("\xEF\xBB\xBF"
                                          "bad\xFF"),
                              std::string("\x95\x5C"),
                              std::string("\xFF\xFE"
                                          "a\0",
                                          4),
                              std::string()}) {
        EXPECT_EQ(DecodeBuffer(bytes), DecodeText(bytes));
    }
}

TEST(DecodeBufferTest, ValidUtf8KeepsItsBuffer) {
    std::string bytes(1 << 20, 'a');
    const char* data = bytes.data();
    std::string text = DecodeBuffer(std::move(bytes));
    EXPECT_EQ(text.data(), data);
    EXPECT_EQ(text.size(), 1u << 20);
}

TEST(IsValidUtf8Test, FollowsTheStrictDefinition) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("abc\xE3\x81"));       // cut off
    EXPECT_FALSE(IsValidUtf8(std::string(40, 'a') + "\x80" + std::string(40, 'a')));
}

TEST(EncodeCp932Test, EncodesWithWindowsMappings) {
    EXPECT_EQ(EncodeCp932("表示"), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(EncodeCp932("～№"), "\x81\x60\x87\x82");
    EXPECT_EQ(EncodeCp932("ｶﾞ"), "\xB6\xDE");
    EXPECT_EQ(EncodeCp932("abc"), "abc");
    EXPECT_EQ(EncodeCp932(""), "");
}

TEST(EncodeCp932Test, CharactersWithoutMappingBecomeQuestionMarks) {
    EXPECT_EQ(EncodeCp932("a😀b"), "a?b");
    EXPECT_EQ(EncodeCp932("é表"), "?\x95\x5C");
    EXPECT_EQ(EncodeCp932("a\xFF"
                          "b"),
              "a?b");  // not UTF-8 at all
    // A failure late in a long text still converts all of it.
    EXPECT_EQ(EncodeCp932(std::string(3000, 'x') + "表😀").size(), 3000u + 2 + 1);
}

TEST(EncodeCp932Test, RoundTripsDecodedCp932) {
    const std::string bytes = "' \x8D\xDD\x8C\xC9\x8A\xC7\x97\x9D \x81\x60 \x87\x82 \xB6\xDE";
    EXPECT_EQ(EncodeCp932(DecodeText(bytes)), bytes);
}

TEST(AnsiByteLengthTest, CountsDoubleByteCharactersTwice) {
    EXPECT_EQ(AnsiByteLength(""), 0u);
    EXPECT_EQ(AnsiByteLength("x = 1"), 5u);
    EXPECT_EQ(AnsiByteLength("在庫"), 4u);
    EXPECT_EQ(AnsiByteLength("ｶﾞ"), 2u);
    EXPECT_EQ(AnsiByteLength("a😀"), 2u);
    EXPECT_EQ(AnsiByteLength("' ＡＢＣ"), 8u);
}

TEST(ReadTextFileTest, ReadsAndDecodesWholeFile) {
    test::TempFolder dir;
    dir.Write("a.bas", "' \x8D\xDD\x8C\xC9\r\n");
    Result<std::string> text = ReadTextFile(dir.Path("a.bas"));
    ASSERT_TRUE(text.ok()) << text.error();
    EXPECT_EQ(*text, "' 在庫\r\n");

    dir.Write("empty", "");
    Result<std::string> empty = ReadTextFile(dir.Path("empty"));
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(*empty, "");
}

TEST(ReadTextFileTest, FailuresCarryPathAndReason) {
    test::TempFolder dir;
    Result<std::string> missing = ReadTextFile(dir.Path("missing.bas"));
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find(dir.Path("missing.bas")), std::string::npos);
    EXPECT_NE(missing.error().find("No such file"), std::string::npos);

    dir.MakeFolder("sub");
    Result<std::string> folder = ReadTextFile(dir.Path("sub"));
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error(), dir.Path("sub") + ": not a regular file");

    // Neither waits for a pipe's writer nor reads a device without end.
    ASSERT_EQ(::mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadRegularFile(dir.Path("pipe")).error(), dir.Path("pipe") + ": not a regular file");
    EXPECT_EQ(ReadRegularFile("/dev/zero").error(), "/dev/zero: not a regular file");
    dir.Write("a.bas", "x\r\n");
    EXPECT_EQ(ReadRegularFile(dir.Path("a.bas")).value_or(""), "x\r\n");
}

TEST(ReadFileBytesTest, OneBufferServesLargerAndSmallerFiles) {
    test::TempFolder dir;
    const std::string large(200000, 'x');
    dir.Write("large", large + "\x82\xA0");
    dir.Write("small", "ab");
    dir.Write("empty", "");
    FileBuffer buffer;
    for (int round = 0; round < 2; ++round) {
        Result<std::string_view> small = ReadFileBytes(dir.Path("small"), buffer);
        ASSERT_TRUE(small.ok()) << small.error();
        EXPECT_EQ(*small, "ab");
        Result<std::string_view> bytes = ReadFileBytes(dir.Path("large"), buffer);
        ASSERT_TRUE(bytes.ok()) << bytes.error();
        EXPECT_EQ(*bytes, large + "\x82\xA0");  // not decoded
        Result<std::string_view> empty = ReadFileBytes(dir.Path("empty"), buffer);
        ASSERT_TRUE(empty.ok());
        EXPECT_TRUE(empty->empty());
    }
    Result<std::string_view> missing = ReadFileBytes(dir.Path("missing"), buffer);
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("No such file"), std::string::npos);
    EXPECT_TRUE(buffer.bytes().empty());
}

TEST(Cp932Test, SourcesAreEveryEncodingOfAText) {
    EXPECT_EQ(Cp932Sources("a表示", 4), (std::vector<std::string>{"a\x95\x5C\x8E\xA6"}));
    // The NEC and IBM rows both hold 纊.
    std::vector<std::string> twice = Cp932Sources("纊", 4);
    std::sort(twice.begin(), twice.end());
    EXPECT_EQ(twice, (std::vector<std::string>{"\xED\x40", "\xFA\x5C"}));
    for (const std::string& source : Cp932Sources("纊纊", 4)) EXPECT_EQ(DecodeText(source), "纊纊");
    EXPECT_EQ(Cp932Sources("纊纊", 4).size(), 4u);
    EXPECT_TRUE(Cp932Sources("纊纊纊", 4).empty());  // more than the limit
    EXPECT_TRUE(Cp932Sources("\u3099", 4).empty());  // no mapping
    EXPECT_TRUE(Cp932Sources("\xEF\xBF\xBD", 4).empty());
    // Whether a text can be encoded is told without listing its encodings: 64 characters
    // with two each would be 2^64 of them.
    std::string many;
    for (int i = 0; i < 64; ++i) many += "纊";
    EXPECT_TRUE(Cp932CanEncode(many));
    EXPECT_TRUE(Cp932CanEncode("a表示"));
    EXPECT_FALSE(Cp932CanEncode("a\u3099"));
    EXPECT_FALSE(Cp932CanEncode("\xEF\xBF\xBD"));
}

TEST(Cp932Test, LinesDecodeOnTheirOwn) {
    ASSERT_TRUE(Cp932SearchableUndecoded());
    for (const Cp932Char& ch : Cp932NonAsciiChars()) {
        ASSERT_GE(static_cast<unsigned char>(ch.utf8[0]), 0x80);
        ASSERT_EQ(DecodeCp932(ch.bytes + "\x82"), ch.utf8 + "\xEF\xBF\xBD");
    }
    // A lead byte before a line break is a character of its own.
    EXPECT_EQ(DecodeText("\x82\r\n\x82\n"), "\xEF\xBF\xBD\r\n\xEF\xBF\xBD\n");
}

// What iconv's CP932 makes of `bytes` as a whole: the UTF-8, or nullopt when they are not
// one character (`incomplete` is then set when iconv wants more bytes).
std::optional<std::string> IconvCharacter(iconv_t cd, std::string bytes, bool& incomplete) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char out[8];
    char* in = bytes.data();
    char* outPtr = out;
    std::size_t inLeft = bytes.size();
    std::size_t outLeft = sizeof out;
    incomplete = false;
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        incomplete = errno == EINVAL;
        return std::nullopt;
    }
    const auto length = static_cast<std::size_t>(outPtr - out);
    if (inLeft != 0 || length == 0 || length > 3) return std::nullopt;
    return std::string(out, length);
}

// The tables compiled in are iconv's, character for character.
TEST(Cp932Test, DecodesEveryCharacterAsIconvDoes) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int leads = 0;
    int pairs = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string single(1, static_cast<char>(b));
        bool lead = false;
        const std::optional<std::string> alone = IconvCharacter(cd, single, lead);
        if (alone) {
            EXPECT_EQ(DecodeCp932(single), *alone) << b;
        }
        if (!lead) continue;
        ++leads;
        EXPECT_EQ(DecodeCp932(single), kFffd) << b;
        for (int trail = 0; trail < 256; ++trail) {
            const std::string pair = single + static_cast<char>(trail);
            bool more = false;
            if (const std::optional<std::string> ch = IconvCharacter(cd, pair, more)) {
                ++pairs;
                EXPECT_EQ(DecodeCp932(pair), *ch) << b << " " << trail;
            } else {
                EXPECT_TRUE(DecodeCp932(pair).starts_with(kFffd)) << b << " " << trail;
            }
        }
    }
    iconv_close(cd);
    // The lead bytes 0x81-0x9F and 0xE0-0xFC, and JIS X 0208 with the Windows extensions.
    EXPECT_EQ(leads, 60);
    EXPECT_GT(pairs, 7000);
}

}  // namespace
}  // namespace trawlex

namespace trawlex {
namespace {

std::string ReadSample(const std::string& name) {
    Result<std::string> text = ReadTextFile(std::string(TRAWLEX_SAMPLES_DIR) + "/" + name);
    EXPECT_TRUE(text.ok()) << text.error();
    return text.ok() ? *text : std::string();
}

TEST(SampleProjectTest, FilesAreCp932WithCrLfAndDecodeCleanly) {
    for (const char* name : {"Sample.vbp", "modMain.bas", "modUtil.bas", "clsItem.cls",
                             "clsInventory.cls", "frmMain.frm"}) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(TRAWLEX_SAMPLES_DIR) + "/" + name, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(bytes.empty());
        EXPECT_FALSE(IsValidUtf8(bytes)) << "expected CP932 bytes";
        const std::string text = ReadSample(name);
        EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos) << "undecodable bytes";
        EXPECT_TRUE(text.ends_with("\r\n"));
        for (std::size_t lf = text.find('\n'); lf != std::string::npos;
             lf = text.find('\n', lf + 1)) {
            ASSERT_TRUE(lf > 0 && text[lf - 1] == '\r') << "lone LF at " << lf;
        }
        EXPECT_EQ(EncodeCp932(text), bytes);
    }
}

TEST(SampleProjectTest, HoldsTheTextTheTestsRelyOn) {
    const std::string main = ReadSample("modMain.bas");
    EXPECT_NE(main.find("\"在庫管理 ～ Sample №1\""), std::string::npos);
    EXPECT_NE(main.find("ＡＢＣノート"), std::string::npos);
    EXPECT_NE(main.find("ｶﾞｲﾄﾞﾌﾞｯｸ"), std::string::npos);
    EXPECT_NE(main.find("表示件数"), std::string::npos);  // 表 has the trail byte 0x5C
    EXPECT_NE(main.find("Private Declare Function GetTickCount Lib"), std::string::npos);
    EXPECT_NE(main.find("\r\nRem "), std::string::npos);
    EXPECT_NE(main.find("\r\nPublic Sub NoOp(): End Sub\r\n"), std::string::npos);
    EXPECT_NE(ReadSample("modUtil.bas").find("\r\nsub legacyDump("), std::string::npos);
    EXPECT_NE(ReadSample("clsItem.cls").find("Public Property Set Supplier("), std::string::npos);
    EXPECT_TRUE(ReadSample("frmMain.frm").starts_with("VERSION 5.00\r\nBegin VB.Form frmMain"));
    EXPECT_TRUE(ReadSample("clsInventory.cls").starts_with("VERSION 1.0 CLASS\r\nBEGIN\r\n"));
}

}  // namespace
}  // namespace trawlex
