#include "vbfiles/vb_module_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trawlex {
namespace {

using Lines = std::vector<std::string>;

// "日本語" and "テスト" in CP932.
const std::string kNihongoCp932 = "\x93\xFA\x96\x7B\x8C\xEA";
const std::string kTesutoCp932 = "\x83\x65\x83\x58\x83\x67";

const std::string kForm =
    "VERSION 5.00\r\n"
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
    "Begin VB.Form frmMain \r\n"
    "   Caption         =   \"End\"\r\n"
    "   BeginProperty Font \r\n"
    "      Name            =   \"MS UI Gothic\"\r\n"
    "   EndProperty\r\n"
    "   Begin VB.CommandButton cmdGo \r\n"
    "      Caption         =   \"Go\"\r\n"
    "   End\r\n"
    "End\r\n"
    "Attribute VB_Name = \"frmMain\"\r\n"
    "Attribute VB_GlobalNameSpace = False\r\n"
    "Attribute VB_PredeclaredId = True\r\n"
    "Option Explicit\r\n"
    "\r\n"
    "Private Sub cmdGo_Click()\r\n"
    "    MsgBox \"" +
    kNihongoCp932 +
    "\"\r\n"
    "End Sub\r\n";

const std::string kClass =
    "VERSION 1.0 CLASS\r\n"
    "BEGIN\r\n"
    "  MultiUse = -1  'True\r\n"
    "END\r\n"
    "Attribute VB_Name = \"clsItems\"\r\n"
    "Attribute VB_Exposed = False\r\n"
    "Option Explicit\r\n"
    "Public Count As Long\r\n"
    "Attribute Count.VB_VarUserMemId = 1\r\n"
    "\r\n"
    "Public Property Get Item(ByVal i As Long) As String\r\n"
    "Attribute Item.VB_UserMemId = 0\r\n"
    "    Item = \"x\"\r\n"
    "End Property\r\n"
    "\r\n"
    "Public Function NewEnum() As IUnknown\r\n"
    "Attribute NewEnum.VB_UserMemId = -4\r\n"
    "    Set NewEnum = Nothing\r\n"
    "End Function\r\n";

TEST(VbModuleFileTest, FormHidesDesignerBlockAndAttributes) {
    auto f = VbModuleFile::Parse(kForm);
    EXPECT_EQ(f.Name(), "frmMain");
    EXPECT_EQ(f.Encoding(), TextEncoding::Cp932);
    ASSERT_EQ(f.VisibleLines().size(), 5u);
    EXPECT_EQ(f.VisibleLines()[0], "Option Explicit");
    EXPECT_EQ(f.VisibleLines()[3], "    MsgBox \"日本語\"");
    EXPECT_EQ(f.VisibleLines()[4], "End Sub");
    EXPECT_EQ(f.HiddenCount(), 14u);
    EXPECT_EQ(f.VisibleText(),
              "Option Explicit\r\n\r\nPrivate Sub cmdGo_Click()\r\n"
              "    MsgBox \"日本語\"\r\nEnd Sub");
    EXPECT_EQ(f.Serialize(), kForm);
}

TEST(VbModuleFileTest, ClassHidesHeaderAndMemberAttributes) {
    auto f = VbModuleFile::Parse(kClass);
    EXPECT_EQ(f.Name(), "clsItems");
    EXPECT_EQ(f.VisibleLines(),
              (Lines{"Option Explicit", "Public Count As Long", "",
                     "Public Property Get Item(ByVal i As Long) As String", "    Item = \"x\"",
                     "End Property", "", "Public Function NewEnum() As IUnknown",
                     "    Set NewEnum = Nothing", "End Function"}));
    EXPECT_EQ(f.Serialize(), kClass);
}

TEST(VbModuleFileTest, StandardModuleAndModulesWithoutHeader) {
    auto bas = VbModuleFile::Parse("Attribute VB_Name = \"modMain\"\r\nSub Main()\r\nEnd Sub\r\n");
    EXPECT_EQ(bas.Name(), "modMain");
    EXPECT_EQ(bas.VisibleLines(), (Lines{"Sub Main()", "End Sub"}));

    auto plain = VbModuleFile::Parse("Sub Main()\r\n    x = 1\r\nEnd Sub");
    EXPECT_EQ(plain.Name(), "");
    EXPECT_EQ(plain.HiddenCount(), 0u);
    EXPECT_EQ(plain.VisibleLines().size(), 3u);

    auto empty = VbModuleFile::Parse("");
    EXPECT_TRUE(empty.VisibleLines().empty());
    EXPECT_EQ(empty.Serialize(), "");
    EXPECT_EQ(empty.Serialize(Lines{""}).bytes, "");
}

TEST(VbModuleFileTest, UnbalancedDesignerBlockStaysVisible) {
    const std::string text = "VERSION 5.00\r\nBegin VB.Form F\r\n   Caption = \"x\"\r\nSub A()\r\n";
    auto f = VbModuleFile::Parse(text);
    // Only the VERSION line is hidden; nothing the user may need disappears.
    EXPECT_EQ(f.VisibleLines(), (Lines{"Begin VB.Form F", "   Caption = \"x\"", "Sub A()"}));
    EXPECT_EQ(f.Serialize(), text);
}

TEST(VbModuleFileTest, UnchangedModulesSaveByteIdentical) {
    const std::vector<std::string> cases = {
        "Attribute VB_Name = \"m\"\r\na\nb\rc\r\nd",  // mixed ends, no final break
        "Attribute VB_Name = \"m\"\n\n\n",            // blank lines only
        "\xEF\xBB\xBF"
        "Attribute VB_Name = \"m\"\r\nx = \"日本語\"\r\n",  // UTF-8 BOM
        "Attribute VB_Name = \"m\"\r\nx = \"日本語\"\r\n",  // UTF-8
        "x = \"" + kTesutoCp932 + "\xFF\x81\"\r\n",         // CP932 with broken bytes
        "Sub A()\r\n\x81\r\nEnd Sub\r\n",                   // lead byte before CR LF
    };
    for (const auto& text : cases) {
        auto f = VbModuleFile::Parse(text);
        EXPECT_EQ(f.Serialize(), text);
        EXPECT_EQ(f.Serialize(f.VisibleLines()).bytes, text);
    }
}

TEST(VbModuleFileTest, DetectsEncoding) {
    EXPECT_EQ(DetectTextEncoding("Sub A()\r\n"), TextEncoding::Cp932);
    EXPECT_EQ(DetectTextEncoding(kNihongoCp932), TextEncoding::Cp932);
    EXPECT_EQ(DetectTextEncoding("日本語"), TextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBFx"), TextEncoding::Utf8Bom);
    EXPECT_EQ(DetectTextEncoding("\xFF\xFEx\0"), TextEncoding::Utf16Le);
    EXPECT_EQ(DetectTextEncoding("\xFE\xFF\0x"), TextEncoding::Utf16Be);
    // A chosen encoding holds for bytes without a BOM only.
    EXPECT_EQ(DetectTextEncoding("日本語", EncodingChoice::Cp932), TextEncoding::Cp932);
    EXPECT_EQ(DetectTextEncoding(kNihongoCp932, EncodingChoice::Utf8), TextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBFx", EncodingChoice::Cp932), TextEncoding::Utf8Bom);
}

TEST(VbModuleFileTest, EditedLinesKeepEncodingAndNeighboursKeepBytes) {
    // An undecodable byte on line 1 must survive an edit of line 2.
    const std::string text = "a = \"\x81\"\r\nb = \"" + kNihongoCp932 + "\"\r\n";
    auto f = VbModuleFile::Parse(text);
    auto lines = f.VisibleLines();
    lines[1] = "b = \"テスト\"";
    auto saved = f.Serialize(lines);
    EXPECT_EQ(saved.bytes, "a = \"\x81\"\r\nb = \"" + kTesutoCp932 + "\"\r\n");
    EXPECT_TRUE(saved.lossyLines.empty());

    auto utf8 = VbModuleFile::Parse("\xEF\xBB\xBFx = \"日本語\"\n");
    auto saved8 = utf8.Serialize(Lines{"x = \"テスト\""});
    EXPECT_EQ(saved8.bytes, "\xEF\xBB\xBFx = \"テスト\"\n");
}

TEST(VbModuleFileTest, LineEndsAcrossEdits) {
    // Mostly LF, one CR LF, no final break.
    auto f = VbModuleFile::Parse("a\nb\r\nc\nd");
    EXPECT_EQ(f.Serialize(Lines{"a", "b", "c", "d", "e"}).bytes, "a\nb\r\nc\nd\ne");
    EXPECT_EQ(f.Serialize(Lines{"a", "B", "c", "d"}).bytes, "a\nB\r\nc\nd");
    EXPECT_EQ(f.Serialize(Lines{"a", "x", "y", "c", "d"}).bytes, "a\nx\r\ny\nc\nd");
    EXPECT_EQ(f.Serialize(Lines{"a", "d"}).bytes, "a\nd");

    auto withBreak = VbModuleFile::Parse("a\r\nb\r\n");
    EXPECT_EQ(withBreak.Serialize(Lines{"a", "b", "c"}).bytes, "a\r\nb\r\nc\r\n");
}

TEST(VbModuleFileTest, MemberAttributesFollowTheirMemberThroughEdits) {
    auto f = VbModuleFile::Parse(kClass);
    auto lines = f.VisibleLines();
    // Insert a comment above Item and rewrite its header across two lines.
    lines[3] = "Public Property Get Item( _";
    lines.insert(lines.begin() + 4, "    ByVal i As Long) As String");
    lines.insert(lines.begin() + 3, "' the item");
    auto saved = VbModuleFile::Parse(f.Serialize(lines).bytes);
    EXPECT_EQ(saved.VisibleLines(), lines);
    const std::string bytes = f.Serialize(lines).bytes;
    EXPECT_NE(bytes.find("    ByVal i As Long) As String\r\nAttribute Item.VB_UserMemId = 0\r\n"
                         "    Item = \"x\""),
              std::string::npos);
    EXPECT_NE(bytes.find("NewEnum() As IUnknown\r\nAttribute NewEnum.VB_UserMemId = -4\r\n"),
              std::string::npos);

    // A removed member does not take its attribute with it silently: the line stays.
    Lines noItem = f.VisibleLines();
    noItem.erase(noItem.begin() + 3, noItem.begin() + 6);
    const std::string kept = f.Serialize(noItem).bytes;
    EXPECT_NE(kept.find("Attribute Item.VB_UserMemId = 0\r\n"), std::string::npos);
    EXPECT_EQ(VbModuleFile::Parse(kept).VisibleLines(), noItem);
}

TEST(VbModuleFileTest, ReportsCharactersTheEncodingCannotHold) {
    auto f = VbModuleFile::Parse("a = 1\r\nb = 2\r\n");
    auto saved = f.Serialize(Lines{"a = 1", "b = \"€?\"", "c = \"日本\""});
    EXPECT_EQ(saved.lossyLines, (std::vector<int>{2}));
    EXPECT_NE(saved.bytes.find("b = \"??\""), std::string::npos);

    auto utf8 = VbModuleFile::Parse("a = \"日本\"\r\n");
    EXPECT_TRUE(utf8.Serialize(Lines{"a = \"€\""}).lossyLines.empty());
}

TEST(VbModuleFileTest, Utf16FilesRoundTrip) {
    // "Attribute VB_Name = "u"" CR LF "x=あ" CR LF in UTF-16 LE with BOM.
    std::string le = "\xFF\xFE";
    for (char c : std::string("Attribute VB_Name = \"u\"\r\nx=")) le += std::string{c, '\0'};
    le += std::string("\x42\x30", 2);
    le += std::string("\r\0\n\0", 4);
    auto f = VbModuleFile::Parse(le);
    EXPECT_EQ(f.Encoding(), TextEncoding::Utf16Le);
    EXPECT_EQ(f.Name(), "u");
    EXPECT_EQ(f.VisibleLines(), (Lines{"x=あ"}));
    EXPECT_EQ(f.Serialize(), le);
    auto edited = VbModuleFile::Parse(f.Serialize(Lines{"x=あ", "y"}).bytes);
    EXPECT_EQ(edited.VisibleLines(), (Lines{"x=あ", "y"}));
    EXPECT_EQ(edited.Name(), "u");
}

TEST(SplitLinesTest, EveryTerminatorSplits) {
    std::vector<std::string> eols;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd", &eols), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(eols, (Lines{"\r\n", "\n", "\r", ""}));
    EXPECT_EQ(SplitLines("\r\n\r\n", nullptr), (Lines{"", ""}));
}

}  // namespace
}  // namespace trawlex
