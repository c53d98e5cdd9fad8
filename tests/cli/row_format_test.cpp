#include "cli/row_format.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace trawlex::cli {
namespace {

std::string Json(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

std::string Tsv(std::string_view text) {
    std::string out;
    AppendTsvField(out, text);
    return out;
}

std::string ForTerminal(std::string_view text) {
    std::string out;
    AppendForTerminal(out, text);
    return out;
}

ResultRow SampleRow() {
    return ResultRow{"src/Main.bas", 42, "Get Value", "Public", "x = \"a\"\tb"};
}

TEST(JsonString, EscapesQuotesBackslashesAndControls) {
    EXPECT_EQ(Json(""), R"("")");
    EXPECT_EQ(Json(R"(say "hi" \ bye)"), R"("say \"hi\" \\ bye")");
    EXPECT_EQ(Json("\t\n\r\b\f"), R"("\t\n\r\b\f")");
    EXPECT_EQ(Json(std::string_view("\x00\x01\x1f", 3)), R"("\u0000\u0001\u001f")");
    EXPECT_EQ(Json("a/b\x7f"), "\"a/b\x7f\"");
}

TEST(JsonString, KeepsValidUtf8AndReplacesInvalidBytes) {
    EXPECT_EQ(Json("検索 ｶﾞ ü 😀"), "\"検索 ｶﾞ ü 😀\"");
    const std::string fffd = "\xEF\xBF\xBD";
    // A CP932 name that was never decoded: lead byte 0x82 and trail 0xA0 are not UTF-8.
    EXPECT_EQ(Json("\x82\xA0.bas"), "\"" + fffd + fffd + ".bas\"");
    EXPECT_EQ(Json("\xFF"), "\"" + fffd + "\"");
    EXPECT_EQ(Json("\xC0\xAF"), "\"" + fffd + fffd + "\"");             // overlong '/'
    EXPECT_EQ(Json("\xED\xA0\x80"), "\"" + fffd + fffd + fffd + "\"");  // surrogate
    EXPECT_EQ(Json("\xF4\x90\x80\x80"), "\"" + fffd + fffd + fffd + fffd + "\"");
    EXPECT_EQ(Json("a\xE6\xA4"), "\"a" + fffd + fffd + "\"");  // cut short at the end
    EXPECT_EQ(Json("\xE6\xA4\"x"), "\"" + fffd + fffd + "\\\"x\"");
}

TEST(RowFormats, JsonlRowIsOneObjectPerLine) {
    std::string out;
    AppendJsonRow(out, SampleRow());
    EXPECT_EQ(out, R"({"name":"src/Main.bas","line":42,"procedure":"Get Value","scope":"Public",)"
                   R"("content":"x = \"a\"\tb","spans":[]})"
                   "\n");

    out.clear();
    // Byte spans in, code points out.
    AppendJsonRow(out, ResultRow{"a.bas", 1, "", "", "検索 x 検索"}, {{0, 6}, {9, 15}});
    EXPECT_EQ(out, R"({"name":"a.bas","line":1,"procedure":"","scope":"","content":"検索 x 検索",)"
                   R"("spans":[[0,2],[5,7]]})"
                   "\n");
}

TEST(RowFormats, TsvRowAlwaysHasFiveColumns) {
    std::string out;
    AppendTsvRow(out, SampleRow());
    EXPECT_EQ(out, "src/Main.bas\t42\tGet Value\tPublic\tx = \"a\"\\tb\n");

    out.clear();
    AppendTsvRow(out, ResultRow{"a\tb\\c.bas", 1, "", "", "x\ry\nz"});
    EXPECT_EQ(out, "a\\tb\\\\c.bas\t1\t\t\tx\\ry\\nz\n");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\t'), 4);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
}

TEST(RowFormats, TsvEscapingCanBeUndone) {
    EXPECT_EQ(Tsv("\\t"), "\\\\t");  // a literal backslash-t is not read back as a tab
    EXPECT_EQ(Tsv("C:\\dir\\"), "C:\\\\dir\\\\");
}

TEST(RowFormats, TsvEscapesEveryPlaceOfLongFields) {
    // Long fields are passed over many bytes at a time: each escape at each place of a block.
    for (const char special : {'\\', '\t', '\n', '\r'}) {
        for (std::size_t at = 0; at < 40; ++at) {
            std::string text(40, '\xE3');
            text[at] = special;
            text[39 - at] = '\x01';  // other controls stay as they are
            std::string want;
            for (char c : text) {
                want += c == '\\'   ? "\\\\"
                        : c == '\t' ? "\\t"
                        : c == '\n' ? "\\n"
                        : c == '\r' ? "\\r"
                                    : std::string(1, c);
            }
            EXPECT_EQ(Tsv(text), want) << at;
        }
    }
}

TEST(RowFormats, PlainTextRowForPipes) {
    std::string out;
    AppendTextRow(out, SampleRow(), TextStyle{});
    EXPECT_EQ(out, "src/Main.bas:42:Get Value: x = \"a\"\tb\n");

    out.clear();
    AppendTextRow(out, ResultRow{"a.bas", 7, "", "", "x\x1b[2J"}, TextStyle{});
    EXPECT_EQ(out, "a.bas:7:: x\x1b[2J\n");  // bytes pass through untouched off a terminal

    // Rows follow what the buffer holds already.
    AppendTextRow(out, ResultRow{"b.bas", 12345, "Sub1", "", ""}, TextStyle{});
    EXPECT_EQ(out, "a.bas:7:: x\x1b[2J\nb.bas:12345:Sub1: \n");
}

TEST(RowFormats, ColouredTextKeepsTheFieldsInOrder) {
    std::string out;
    AppendTextRow(out, SampleRow(), TextStyle{true, true});
    EXPECT_EQ(out,
              "\x1b[35msrc/Main.bas\x1b[0m\x1b[36m:\x1b[0m\x1b[32m42\x1b[0m\x1b[36m:\x1b[0m"
              "\x1b[33mGet Value\x1b[0m\x1b[36m:\x1b[0m x = \"a\"\tb\n");
}

TEST(RowFormats, ColouredTextMarksTheMatchedParts) {
    std::string out;
    // Byte spans of "検索" twice; the control character between stays escaped.
    AppendTextRow(out, ResultRow{"a.bas", 1, "", "", "検索\x1b検索!"}, TextStyle{true, true},
                  {{0, 6}, {7, 13}});
    EXPECT_EQ(out.substr(out.rfind("\x1b[0m ") + 5),
              "\x1b[01;31m検索\x1b[0m^[\x1b[01;31m検索\x1b[0m!\n");

    // Without colour the spans change nothing.
    out.clear();
    AppendTextRow(out, ResultRow{"a.bas", 1, "", "", "検索"}, TextStyle{}, {{0, 6}});
    EXPECT_EQ(out, "a.bas:1:: 検索\n");
}

TEST(RowFormats, TerminalTextCannotCarryEscapeSequences) {
    EXPECT_EQ(ForTerminal("x\x1b[2Jy"), "x^[[2Jy");
    EXPECT_EQ(ForTerminal("a\rb\x7f\tc"), "a^Mb^?\tc");
    EXPECT_EQ(ForTerminal("\xC2\x9B"
                          "31m"),
              "\xEF\xBF\xBD"
              "31m");  // C1 CSI
    EXPECT_EQ(ForTerminal("\xC2\xA9 検索"), "\xC2\xA9 検索");

    std::string out;
    AppendTextRow(out, ResultRow{"e\x1b.bas", 1, "P\x07", "", "\x1b]0;title\x07"},
                  TextStyle{false, true});
    EXPECT_EQ(out, "e^[.bas:1:P^G: ^[]0;title^G\n");
}

TEST(RowFormats, ALongRowWrittenInPiecesIsTheSameRow) {
    // Multi-byte characters, C1 controls, invalid bytes and characters every format escapes.
    std::string content;
    for (int i = 0; i < 40; ++i) {
        content += "検索\xC2\x9B\t\"q\"\\ \x1b\xE8\xA1 \x80\x80\x80 \xF0\x9F\x98\x80";
    }
    const ResultRow row{"a.bas", 7, "Main", "Public", content};
    for (OutputFormat format : {OutputFormat::Text, OutputFormat::Tsv, OutputFormat::Jsonl}) {
        for (bool terminal : {false, true}) {
            const TextStyle style{terminal, terminal};
            std::string whole;
            AppendRow(whole, row, format, style);
            for (std::size_t size : {1u, 2u, 3u, 5u, 64u}) {
                std::string pieces;
                AppendRowHead(pieces, row, format, style);
                std::string_view rest = content;
                while (!rest.empty()) {
                    AppendContentPiece(pieces, NextContentPiece(rest, size), format, style);
                }
                AppendRowTail(pieces, format);
                EXPECT_EQ(pieces, whole) << static_cast<int>(format) << terminal << size;
            }
        }
    }
}

}  // namespace
}  // namespace trawlex::cli
