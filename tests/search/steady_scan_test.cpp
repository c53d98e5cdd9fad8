// The scan for steady hosts, over UTF-8 texts and undecoded CP932 bytes, against the
// line-by-line reference over the decoded text.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "base/cp932_codec.h"
#include "base/text_decode.h"
#include "base/utf8_codec.h"
#include "search/encoded_search.h"
#include "search/text_scan.h"

namespace trawlex {
namespace {

using Row = std::tuple<std::string, std::int64_t, std::string, std::string, std::string>;

class CollectingHost : public ScanHost {
  public:
    CollectingHost(MatchOptions options, bool steady) : options_(options) { SetSteady(steady); }
    void Yield() override { ++yields; }
    MatchOptions CurrentOptions() const override { return options_; }
    void AddRow(ResultRow row) override {
        rows.emplace_back(row.name, row.line, row.procedure, row.scope, row.content);
    }

    std::vector<Row> rows;
    std::int64_t yields = 0;

  private:
    MatchOptions options_;
};

std::vector<Row> Reference(std::string_view bytes, std::string_view search, MatchOptions options) {
    CollectingHost host(options, false);
    MatchEngine engine;
    SearchTextLineByLine(DecodeText(bytes), "M", search, host, engine);
    return host.rows;
}

// CP932 bytes as they are: characters whose trail byte is ASCII ("ソ" ends in "\", a kanji
// can end in "S" just before "ub "), full-width letters and space, half-width kana, lead
// bytes before line breaks, bytes that do not decode, and the keywords of procedures.
const std::vector<std::string> kCp932Pieces = {
    "Private Sub ",
    "Public Function ",
    "Property Get ",
    "Sub ",
    "End Sub",
    "End Function",
    "End Property",
    "End If",
    "Declare ",
    "Rem ",
    "' ",
    "(",
    ")",
    " ",
    "Foo",
    "foo",
    "FOO",
    "CalcTotal",
    "calc",
    "Dim x As Long",
    "Call Find(sto",
    "\r\n",
    "\r\n",
    "\r\n",
    "\n",
    "\r",
    "\x83\x5C",  // ソ
    "\x89S",     // 唄, whose trail byte is "S"
    "\x89"
    "End Sub",                           // 右, whose trail byte is "E", then "nd Sub"
    "\x88S",                             // no character: "S" stands alone
    "\x82\x60\x82\x81",                  // Ａａ
    "\x82\x62\x82\x81\x82\x8C\x82\x83",  // Ｃａｌｃ
    "\x81\x40",                          // U+3000
    "\x95\x5C\x8E\xA6",                  // 表示
    "\x8C\x8F\x90\x94",                  // 件数
    "\x83\x66\x81\x5B\x83\x5E",          // データ
    "\xC3\xDE\xB0\xC0",                  // ﾃﾞｰﾀ
    "\x82\xC5\x81\x5B\x82\xBD",          // でーた
    "\x83\x65",                          // テ
    "\x82",                              // a lead byte alone
    "\xFF",
    "\x80",
    "\xA0",
    "\xFD\x40",
    "\x81\x0A",
    "\\",
    "~",
    "ｶ",
    "\xB9",  // ｹ: its UTF-8 ends in B9
};

std::string RandomBytes(std::mt19937& rng, const std::vector<std::string>& pieces) {
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 120);
    std::string bytes;
    for (int i = length(rng); i > 0; --i) bytes += pieces[piece(rng)];
    return bytes;
}

const std::vector<std::string> kSearches = {
    "foo",       "Foo",      "calc",     "ｃａｌｃ",     "CalcTotal",
    "表示",      "示件",     "データ",   "ﾃﾞｰﾀ",         "テ",
    "ソ",        "\\",       "ub ",      "End",          "Sub Foo",
    "a",         " ",        "\u3000",   "x As",         "Dim \\w+",
    "^Sub",      "End Sub$", "^$",       "Sub\\b",       "S.b",
    "(Foo|foo)", "Fo{2}",    "[Ff]oo",   "F*o",          "Call F*(sto",
    "*表示*",    "#",        "[",        "\\Qfoo",       "(?i)foo",
    "\\x41",     "k",        "foo calc", "\xEF\xBF\xBD", "ｶﾞ",
    "\\d+",      "ォ",       "\xB9",     "\xBD\xB9",  // bytes of no whole character
    "?=",        "*SKIP",    "+a",       "{2}a",         "?!x",
};

void ExpectSameRows(const std::string& bytes, bool steady) {
    MatchEngine engine;  // shared by all searches, as in a folder walk
    for (const std::string& search : kSearches) {
        for (int mode = 0; mode <= 4; ++mode) {
            for (bool binary : {false, true}) {
                const MatchOptions options{static_cast<SearchMode>(mode), binary};
                CollectingHost host(options, steady);
                SearchEncodedText(bytes, "M", search, host, engine);
                ASSERT_EQ(host.rows, Reference(bytes, search, options))
                    << "search [" << search << "] mode " << mode << " binary " << binary
                    << " steady " << steady << " bytes [" << bytes << "]";
            }
        }
    }
}

TEST(SteadyScanTest, UndecodedCp932GivesTheRowsOfTheDecodedText) {
    ASSERT_TRUE(Cp932SearchableUndecoded());
    std::mt19937 rng(932);
    for (int round = 0; round < 30; ++round) {
        ExpectSameRows(RandomBytes(rng, kCp932Pieces), true);
    }
}

TEST(SteadyScanTest, Utf8TextsGiveTheRowsOfTheLineByLineScan) {
    std::mt19937 rng(8);
    std::vector<std::string> pieces;
    for (const std::string& piece : kCp932Pieces) pieces.push_back(DecodeCp932(piece));
    pieces.insert(pieces.end(), {"\u212A", "\u017F", "ＳＵＢ", "\u3099", "ガ", "ｶﾞ"});
    for (int round = 0; round < 30; ++round) {
        ExpectSameRows(RandomBytes(rng, pieces), true);
    }
}

// Lines that open, close, or only look like they touch a procedure, and lines with "zz" to
// find: the steady scan works out the procedure of a far line from the lines near it.
const std::vector<std::string> kProcedureLines = {
    "Sub A()",
    "Private Function Bb(ByVal x As Long) As Long",
    "Friend Property Get Cc()",
    "Sub (x)",  // a start that cuts no name: outside, but the scope is set
    "Public Sub ()",
    "Sub D",  // no "(": not a start
    "Dim mySub As Long",
    "End Sub",
    "End Function",
    "End Property",
    "x = 1: End Sub",
    "End Sub: Sub E()",
    "Sub F(): End Sub",
    "Public Sub (): End Sub",
    "' End Sub",
    "Rem End Sub",
    "Declare Sub G Lib \"k\" ()",
    "Private Declare Function H Lib \"k\" () As Long",
    "End If",
    "Exit Sub",
    "",
    "  zz",
    "zz = 1",
    "zz ' End Sub",
    "End Sub ' zz",
    "Sub Zz() ' zz",
    "zz: End Function",
    "\x95\x5C zz",     // 表示 zz
    "Sub \x95\x5C()",  // Sub 表示()
    "\x89"
    "End Sub zz",   // 右nd Sub: no end
    "\x89Sub Q()",  // 唄ub Q(): no start
};

std::string RandomProcedureText(std::mt19937& rng, bool cp932) {
    std::uniform_int_distribution<std::size_t> pick(0, kProcedureLines.size() - 1);
    std::uniform_int_distribution<int> count(0, 200);
    std::uniform_int_distribution<int> ending(0, 5);
    std::string text;
    for (int i = count(rng); i > 0; --i) {
        const std::string& line = kProcedureLines[pick(rng)];
        text += cp932 ? line : DecodeCp932(line);
        text += ending(rng) == 0 ? "\n" : "\r\n";
    }
    if (ending(rng) == 0 && !text.empty()) text.pop_back();  // a last line without LF
    return text;
}

TEST(SteadyScanTest, ProcedureOfFarLinesIsThatOfTheLineByLineScan) {
    std::mt19937 rng(1712);
    MatchEngine engine;
    for (int round = 0; round < 300; ++round) {
        const bool cp932 = round % 2 == 0;
        const std::string bytes = RandomProcedureText(rng, cp932);
        for (const char* search : {"zz", "z", "Sub", "^End", "Zz\\("}) {
            for (int mode : {0, 1, 2}) {
                const MatchOptions options{static_cast<SearchMode>(mode), mode == 1};
                CollectingHost host(options, true);
                SearchEncodedText(bytes, "M", search, host, engine);
                ASSERT_EQ(host.rows, Reference(bytes, search, options))
                    << "search [" << search << "] mode " << mode << " bytes [" << bytes << "]";
            }
        }
    }
}

struct ProcedureCase {
    const char* text;
    std::vector<Row> rows;  // found with "zz"
};

TEST(SteadyScanTest, FarLinesShowTheProcedureTheKeywordsLeave) {
    const auto row = [](std::int64_t line, const char* procedure, const char* scope,
                        const char* content) { return Row("M", line, procedure, scope, content); };
    const std::vector<ProcedureCase> cases = {
        // Before any procedure, and after one has ended.
        {"zz\r\nSub A()\r\nEnd Sub\r\nzz\r\n",
         {row(1, "(Declarations)", "", "zz"), row(4, "", "", "zz")}},
        // An end line with no procedure open leaves the state as it was.
        {"zz\r\nEnd Sub\r\nEnd Function\r\nzz\r\n",
         {row(1, "(Declarations)", "", "zz"), row(4, "(Declarations)", "", "zz")}},
        // A start that cuts no name sets only the scope, which stays past a stray end line.
        {"Private Sub ()\r\nEnd Sub\r\nzz\r\nSub A()\r\nEnd Sub\r\nEnd Sub\r\nzz\r\n",
         {row(3, "", "Private", "zz"), row(7, "", "", "zz")}},
        {"Public Sub (): End Sub\r\nx\r\nzz\r\n", {row(3, "", "Public", "zz")}},
        // A start and an end on one line: inside, the end closes; outside, both apply.
        {"Sub A()\r\nEnd Sub: Sub B()\r\nzz\r\n", {row(3, "", "", "zz")}},
        {"Sub B(): End Sub\r\nzz\r\nSub C(): End Sub zz\r\n",
         {row(2, "", "", "zz"), row(3, "C", "Global", "Sub C(): End Sub zz")}},
        // Starts inside a procedure are not starts; the first one names it.
        {"Private Sub A()\r\nSub B()\r\nFunction C()\r\nzz\r\nEnd Sub\r\nzz\r\n",
         {row(4, "A", "Private", "zz"), row(6, "", "", "zz")}},
        // Without "(" there is no start; with a comment mark before it neither.
        {"Sub A\r\nDim mySub As Long\r\n' Sub B()\r\nDeclare Sub C Lib \"k\" ()\r\nzz\r\n",
         {row(5, "(Declarations)", "", "zz")}},
        // Ends behind a comment mark do not end.
        {"Sub A()\r\n' End Sub\r\nRem End Sub\r\nx ' End Sub\r\nzz\r\nEnd Sub\r\n",
         {row(5, "A", "Global", "zz")}},
        // The start and end lines themselves show the procedure.
        {"Friend Function Zz() ' zz\r\nzz: End Function\r\nzz\r\n",
         {row(1, "Zz", "Friend", "Friend Function Zz() ' zz"),
          row(2, "Zz", "Friend", "zz: End Function"), row(3, "", "", "zz")}},
        // Lone LF ends lines too; the procedures between two hits are skipped whole.
        {"zz\nSub A()\nEnd Sub\nFunction B()\nEnd Function\nProperty Get C()\nzz\nEnd Property\n",
         {row(1, "(Declarations)", "", "zz"), row(7, "Get C", "Global", "zz")}},
    };
    MatchEngine engine;
    for (const ProcedureCase& c : cases) {
        CollectingHost host({SearchMode::Normal, true}, true);
        SearchEncodedText(c.text, "M", "zz", host, engine);
        EXPECT_EQ(host.rows, c.rows) << "text [" << c.text << "]";
        EXPECT_EQ(host.rows, Reference(c.text, "zz", {SearchMode::Normal, true}))
            << "text [" << c.text << "]";
    }
}

TEST(SteadyScanTest, SearchStringsWithVeryManyCp932EncodingsAreFound) {
    // 纊 is in both the NEC and the IBM rows: 48 of them have 2^48 encodings, which the
    // search must not try to list.
    std::string needle;
    for (int i = 0; i < 48; ++i) needle += "纊";
    const std::string bytes = "x = 1\r\n' " + EncodeCp932(needle) + "\r\n";
    for (const bool binary : {false, true}) {
        CollectingHost host({SearchMode::Normal, binary}, true);
        MatchEngine engine;
        SearchEncodedText(bytes, "M", needle, host, engine);
        ASSERT_EQ(host.rows.size(), 1u);
        EXPECT_EQ(std::get<1>(host.rows[0]), 2);
        EXPECT_EQ(host.rows, Reference(bytes, needle, {SearchMode::Normal, binary}));
    }
}

TEST(SteadyScanTest, HostsThatAreNotSteadyStillGetEveryLine) {
    std::mt19937 rng(3);
    for (int round = 0; round < 5; ++round) {
        ExpectSameRows(RandomBytes(rng, kCp932Pieces), false);
    }
    const std::string bytes = "\x95\x5C\x8E\xA6\r\nFoo\r\n\x82\xA0\n";
    CollectingHost host({SearchMode::Normal, false}, false);
    MatchEngine engine;
    SearchEncodedText(bytes, "M", "foo", host, engine);
    EXPECT_EQ(host.yields, 4);
    EXPECT_EQ(host.rows.size(), 1u);
}

TEST(SteadyScanTest, RowsOfCp932LinesAreDecodedWithTheirProcedure) {
    const std::string bytes =
        "Private Sub \x95\x5C\x8E\xA6()\r\n"      // Sub 表示()
        "  x = \"\x82\x62\x82\x81\x8C\x8F\"\r\n"  // "Ｃａ件"
        "\x89Sub Foo()\r\n"                       // not a start: the S is a trail byte
        "End Sub\r\n"
        "calc\n";
    CollectingHost host({SearchMode::Normal, false}, true);
    MatchEngine engine;
    SearchEncodedText(bytes, "path/M.bas", "ca", host, engine);
    ASSERT_EQ(host.rows.size(), 2u);
    EXPECT_EQ(host.rows[0], Row("path/M.bas", 2, "表示", "Private", "x = \"Ｃａ件\""));
    EXPECT_EQ(host.rows[1], Row("path/M.bas", 5, "", "", "calc"));
}

TEST(SteadyScanTest, LinesWithTheSearchOnlyInTrailBytesDoNotMatch) {
    // "\x83\x5C" is ソ: its trail byte is no backslash; "\x89S" (唄) holds no "S".
    const std::string bytes =
        "a\x83\x5C"
        "b\r\n\x89Sub\r\n\\\r\nSub\r\n";
    MatchEngine engine;
    for (bool steady : {true, false}) {
        CollectingHost slash({SearchMode::Normal, true}, steady);
        SearchEncodedText(bytes, "M", "\\", slash, engine);
        ASSERT_EQ(slash.rows.size(), 1u);
        EXPECT_EQ(std::get<1>(slash.rows[0]), 3);
        CollectingHost sub({SearchMode::Regex, true}, steady);
        SearchEncodedText(bytes, "M", "Sub", sub, engine);
        ASSERT_EQ(sub.rows.size(), 1u);
        EXPECT_EQ(std::get<1>(sub.rows[0]), 4);
    }
}

// Stand-ins (full-width letters, U+3000, U+212A, U+017F) next to the rest of a needle, far
// from it, and in long lines of binary-like bytes: each is checked in a window around it.
std::string RandomStandInText(std::mt19937& rng, bool cp932) {
    static const std::vector<std::string> pieces = {
        "dim",
        "Dim",
        "DIM",
        "d",
        "im",
        "i",
        "m",
        "Private",
        "Sub",
        " Sub",
        "Private ",
        "k",
        "s",
        "ks",
        "Calc",
        "Total",
        "\r\n",
        "\n",
        "x = ",
        "' ",
        "(",
        ")",
        "Sub A()",
        "End Sub",
        "\x82\x84",  // ｄ
        "\x82\x84IM",
        "Private\x81\x40Sub",
        "PRIVATE\x81\x40SUB",
        "Private\x81\x40\x82\x72ub",
        "\x82\x63\x82\x89",                                          // Ｄｉ
        "\x82\x8D",                                                  // ｍ
        "\x81\x40",                                                  // U+3000
        "\x82\x6F\x82\x92\x82\x89\x82\x96\x82\x81\x82\x94\x82\x85",  // Ｐｒｉｖａｔｅ
        "\x81\x46",                                                  // ：
        "\x81\x69\x81\x6A",                                          // （）
        "\x82\x72\x82\x95\x82\x82",                                  // Ｓｕｂ
        "\x95\x5C\x8E\xA6",                                          // 表示
        "\x89S",
        "\x89"
        "d",
        "\x82",
        "\x88",  // trail bytes that look like ASCII, lone leads
    };
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> noise(0, 255);
    std::string bytes;
    for (int i = std::uniform_int_distribution<int>(0, 160)(rng); i > 0; --i) {
        if (kind(rng) == 0) {
            // A stretch of binary bytes without line feeds, as .frx and .ocx files hold.
            for (int n = std::uniform_int_distribution<int>(1, 300)(rng); n > 0; --n) {
                const int b = noise(rng);
                bytes.push_back(static_cast<char>(b == '\n' ? 0x8A : b));
            }
        } else {
            bytes += pieces[piece(rng)];
        }
    }
    if (cp932) return bytes;
    std::string text = DecodeCp932(bytes);
    for (const char* extra : {"\u212A", "\u017F", "\u212Aim", "di\u017F"}) {
        text.insert(std::uniform_int_distribution<std::size_t>(0, text.size())(rng), extra);
    }
    return IsValidUtf8(text) ? text : DecodeText(text);
}

TEST(SteadyScanTest, StandInsAreCheckedAroundThemWithTheRowsOfTheLineByLineScan) {
    std::mt19937 rng(3000);
    MatchEngine engine;
    for (int round = 0; round < 120; ++round) {
        const std::string bytes = RandomStandInText(rng, round % 2 == 0);
        for (const char* search : {"dim", "Private Sub", "im", "m", "ks", "Calc", "d*m", "sub a",
                                   "s", "di\\w", "m\r", "\rd", "lue\r\nd"}) {
            for (int mode = 0; mode <= 3; ++mode) {
                for (bool binary : {false, true}) {
                    const MatchOptions options{static_cast<SearchMode>(mode), binary};
                    CollectingHost host(options, true);
                    SearchEncodedText(bytes, "M", search, host, engine);
                    ASSERT_EQ(host.rows, Reference(bytes, search, options))
                        << "search [" << search << "] mode " << mode << " binary " << binary
                        << " round " << round;
                }
            }
        }
    }
}

// As in a folder: one search over UTF-8 and CP932 texts in turn, what it looks for in each
// encoding made once and used text after text.
TEST(SteadyScanTest, OneSearchOverTextsOfBothEncodingsInTurnGivesEachTextsRows) {
    std::mt19937 rng(3001);
    std::vector<std::string> texts;
    for (int i = 0; i < 24; ++i) texts.push_back(RandomStandInText(rng, i % 3 != 1));
    for (const char* search : {"dim", "Private Sub", "ks", "d*m", "di\\w"}) {
        for (int mode = 0; mode <= 3; ++mode) {
            const MatchOptions options{static_cast<SearchMode>(mode), false};
            MatchEngine engine;
            for (const std::string& bytes : texts) {
                CollectingHost host(options, true);
                SearchEncodedText(bytes, "M", search, host, engine);
                ASSERT_EQ(host.rows, Reference(bytes, search, options))
                    << "search [" << search << "] mode " << mode;
            }
        }
    }
}

TEST(StandInWindow, FindsTheNeedleAcrossStandInsAndNotBesideThem) {
    using StandIns = LineRequirement::StandIns;
    // "x ｄｉm y" in CP932: the needle runs through two stand-ins.
    const std::string cp932 = "x \x82\x84\x82\x89m y";
    StandInWindow window(cp932, true, "dim", StandIns::Compare);
    EXPECT_TRUE(window.MayHoldNeedle(2));
    EXPECT_TRUE(window.MayHoldNeedle(4));
    StandInWindow other(cp932, true, "dix", StandIns::Compare);
    EXPECT_FALSE(other.MayHoldNeedle(2));
    // U+3000 stands for the space of "Private Sub", not for any space.
    const std::string spaces =
        "Private\xE3\x80\x80Sub" + std::string(60, 'x') + "\xE3\x80\x80 Private";
    StandInWindow private_sub(spaces, false, "private sub", StandIns::Compare);
    EXPECT_TRUE(private_sub.MayHoldNeedle(7));
    EXPECT_FALSE(private_sub.MayHoldNeedle(spaces.rfind("\xE3\x80\x80")));
    // Past a long run with no byte that ends a character for sure, the window cannot tell.
    const std::string run = std::string(200, '\x82') + "\x82\x84";
    StandInWindow unsure(run, true, "dim", StandIns::Compare);
    EXPECT_TRUE(unsure.MayHoldNeedle(200));
}

TEST(StandIns, CaseBlindRegexesTakeOnlyKelvinAndLongSForAsciiLetters) {
    // Every character a case-blind regular expression takes for an ASCII letter.
    MatchEngine engine;
    std::vector<char32_t> found;
    for (char32_t cp = 0x80; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string line;
        utf8::Append(line, cp);
        if (engine.MatchLine(line, "^[a-z]$", {SearchMode::Regex, false})) found.push_back(cp);
    }
    EXPECT_EQ(found, (std::vector<char32_t>{0x017F, 0x212A}));
    // CP932 holds neither, so a case-blind regex needs no stand-in pass over CP932 bytes.
    EXPECT_TRUE(Cp932StandInsFor("ks", LineRequirement::StandIns::Case).empty());
    EXPECT_FALSE(Cp932StandInsFor("ks", LineRequirement::StandIns::Compare).empty());
}

TEST(SteadyScanTest, BomTextsAreDecodedFirst) {
    const std::string utf16(
        "\xFF\xFE"
        "F\0o\0o\0\n\0x\0",
        12);
    CollectingHost host({SearchMode::Normal, false}, true);
    MatchEngine engine;
    SearchEncodedText(utf16, "M", "foo", host, engine);
    EXPECT_EQ(host.rows, (std::vector<Row>{Row("M", 1, "(Declarations)", "", "Foo")}));
}

TEST(SteadyScanTest, Utf8BomTextsGiveTheRowsOfTheirDecodedText) {
    // Valid UTF-8 behind the BOM is searched in place; invalid bytes still become U+FFFD.
    const std::vector<std::string> texts = {
        "\xEF\xBB\xBFSub A()\r\n\xEF\xBC\xA6oo \xE3\x80\x80\r\nEnd Sub\r\nfoo",
        "\xEF\xBB\xBF\xEF\xBB\xBF"
        "foo\r\n",
        "\xEF\xBB\xBF"
        "foo\xFF\r\nfoo\xEF\xBF\xBD\r\n",
        "\xEF\xBB\xBF",
        "\xEF\xBB",
    };
    MatchEngine engine;
    for (const std::string& bytes : texts) {
        for (const char* search : {"foo", "\xEF\xBF\xBD", "Sub", "\xEF\xBB\xBF"}) {
            for (bool steady : {true, false}) {
                CollectingHost host({SearchMode::Normal, false}, steady);
                SearchEncodedText(bytes, "M", search, host, engine);
                EXPECT_EQ(host.rows, Reference(bytes, search, {SearchMode::Normal, false}))
                    << "[" << bytes << "] search [" << search << "] steady " << steady;
            }
        }
    }
}

// A host that may change only in its Yield: it searches in stretches of `stretch` bytes (0:
// line by line). From its `switchAt`-th Yield on it gives `later` options, and from its
// `stopAt`-th on it asks to stop.
class StretchHost : public ScanHost {
  public:
    StretchHost(std::size_t stretch, MatchOptions first, MatchOptions later = {},
                std::int64_t switchAt = 0, std::int64_t stopAt = 0)
        : first_(first), later_(later), switch_at_(switchAt), stop_at_(stopAt) {
        SetSteadyStretch(stretch);
    }
    void Yield() override { ++yields; }
    bool StopRequested() const override { return stop_at_ > 0 && yields >= stop_at_; }
    MatchOptions CurrentOptions() const override {
        return switch_at_ > 0 && yields >= switch_at_ ? later_ : first_;
    }
    void AddRow(ResultRow row) override {
        rows.emplace_back(row.name, row.line, row.procedure, row.scope, row.content);
    }

    std::vector<Row> rows;
    std::int64_t yields = 0;

  private:
    MatchOptions first_;
    MatchOptions later_;
    std::int64_t switch_at_;
    std::int64_t stop_at_;
};

TEST(SteadyScanTest, StretchesGiveTheRowsOfTheLineByLineScan) {
    std::mt19937 rng(256);
    MatchEngine engine;
    // Stretches of one line each, of a few lines, and of more than most texts.
    for (int round = 0; round < 120; ++round) {
        const bool cp932 = round % 2 == 0;
        const std::string bytes =
            round % 3 == 0 ? RandomBytes(rng, kCp932Pieces) : RandomProcedureText(rng, cp932);
        for (const char* search : {"zz", "Sub", "^End", "foo", "Zz\\(", "表示", "^$"}) {
            for (int mode : {0, 1, 2}) {
                const MatchOptions options{static_cast<SearchMode>(mode), mode == 1};
                const std::vector<Row> expected = Reference(bytes, search, options);
                for (std::size_t stretch : {1, 2, 7, 64, 4096}) {
                    StretchHost host(stretch, options);
                    SearchEncodedText(bytes, "M", search, host, engine);
                    ASSERT_EQ(host.rows, expected)
                        << "search [" << search << "] mode " << mode << " stretch " << stretch
                        << " bytes [" << bytes << "]";
                }
            }
        }
    }
}

// Five-byte lines, so that a stretch of ten bytes holds two of them: its Yield n comes before
// line 2n - 1.
std::string PairedLines(int pairs) {
    std::string text;
    for (int i = 0; i < pairs; ++i) text += "a.c\r\nabc\r\n";
    return text;
}

TEST(SteadyScanTest, StretchesAskTheHostOnlyBeforeTheirFirstLine) {
    const std::string text = PairedLines(5);  // ten lines, and the final empty one
    MatchEngine engine;
    StretchHost host(10, {SearchMode::Regex, false});
    SearchText(text, "M", "a.c", host, engine);
    EXPECT_EQ(host.yields, 5);  // the last stretch takes the last pair and the empty line
    EXPECT_EQ(host.rows.size(), 10u);
    // Text shorter than a stretch: one question.
    StretchHost whole(64, {SearchMode::Regex, false});
    SearchText(text, "M", "a.c", whole, engine);
    EXPECT_EQ(whole.yields, 1);
    EXPECT_EQ(whole.rows.size(), 10u);
}

TEST(SteadyScanTest, OptionsChangedBetweenStretchesApplyFromTheNextStretch) {
    MatchEngine engine;
    // "a.c" as plain text matches the "a.c" lines only; as a pattern, every line. The
    // stretched host switches at its third Yield (before line 5), the line-by-line one at
    // its fifth: the same lines.
    const MatchOptions plain{SearchMode::Normal, false};
    const MatchOptions pattern{SearchMode::Regex, false};
    for (const std::string& text : {PairedLines(5), PairedLines(5) + "x"}) {
        StretchHost stretched(10, plain, pattern, 3);
        SearchText(text, "M", "a.c", stretched, engine);
        StretchHost lineByLine(0, plain, pattern, 5);
        SearchTextLineByLine(text, "M", "a.c", lineByLine, engine);
        EXPECT_EQ(stretched.rows, lineByLine.rows);
        ASSERT_EQ(stretched.rows.size(), 2u + 6u);
        EXPECT_EQ(std::get<1>(stretched.rows[2]), 5);
    }
    // Back: from a pattern to plain text, and to options under which no line can match.
    StretchHost back(10, pattern, plain, 2);
    SearchText(PairedLines(3), "M", "a.c", back, engine);
    EXPECT_EQ(back.rows.size(), 2u + 2u);
}

TEST(SteadyScanTest, OptionsWithNothingToLookForMidTextTestEveryLineOfTheRest) {
    MatchEngine engine;
    // "\\w" is a string to look for as plain text, but not as a pattern.
    const MatchOptions plain{SearchMode::Normal, false};
    const MatchOptions pattern{SearchMode::Regex, false};
    const char* search = "\\w";
    ASSERT_EQ(engine.Prepared(search, plain).Requirement().kind, LineRequirement::Kind::Ascii);
    ASSERT_EQ(engine.Prepared(search, pattern).Requirement().kind, LineRequirement::Kind::Unknown);
    const std::string text = "a\\w\r\n--\r\nab\r\n\\w\r\nSub A()\r\n--\r\nb\r\nEnd Sub\r\nc";
    for (const std::size_t stretch : {1, 6}) {
        StretchHost stretched(stretch, plain, pattern, 2);
        SearchText(text, "M", search, stretched, engine);
        // The first stretch ends with line 1 (stretch 1) or line 2.
        StretchHost lineByLine(0, plain, pattern, stretch == 1 ? 2 : 3);
        SearchTextLineByLine(text, "M", search, lineByLine, engine);
        EXPECT_EQ(stretched.rows, lineByLine.rows) << "stretch " << stretch;
        EXPECT_EQ(stretched.rows.size(), 7u);
    }
}

TEST(SteadyScanTest, AStopBetweenStretchesEndsTheTextBeforeTheNextLine) {
    MatchEngine engine;
    const std::string text = PairedLines(5);
    // Asked to stop at its third Yield: lines 1 to 4 were searched, no line after them.
    StretchHost host(10, {SearchMode::Regex, false}, {}, 0, 3);
    SearchText(text, "M", "a.c", host, engine);
    EXPECT_EQ(host.yields, 3);
    ASSERT_EQ(host.rows.size(), 4u);
    EXPECT_EQ(std::get<1>(host.rows.back()), 4);
    // CP932 bytes are searched the same way.
    StretchHost cp932(8, {SearchMode::Normal, false}, {}, 0, 2);
    SearchEncodedText("\x95\x5C\r\n\x95\x5C\r\n\x95\x5C\r\n\x95\x5C\r\n", "M", "表", cp932, engine);
    EXPECT_EQ(cp932.yields, 2);
    EXPECT_EQ(cp932.rows.size(), 2u);
}

}  // namespace
}  // namespace trawlex
