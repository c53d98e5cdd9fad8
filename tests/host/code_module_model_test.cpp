#include "host/code_module_model.h"

#include <gtest/gtest.h>

namespace trawlex::host {
namespace {

CodeModuleModel Module(std::string_view text) {
    return CodeModuleModel::FromText(text);
}

void ExpectProc(const CodeModuleModel& module, int line, std::string_view name, ProcKind kind) {
    auto proc = module.ProcOfLine(line);
    ASSERT_TRUE(proc.ok()) << proc.error();
    EXPECT_EQ(proc->name, name) << "line " << line;
    EXPECT_EQ(proc->kind, kind) << "line " << line;
}

void ExpectSpan(const CodeModuleModel& module, std::string_view name, ProcKind kind, int start,
                int count) {
    auto first = module.ProcStartLine(name, kind);
    auto lines = module.ProcCountLines(name, kind);
    ASSERT_TRUE(first.ok()) << first.error();
    ASSERT_TRUE(lines.ok()) << lines.error();
    EXPECT_EQ(*first, start) << name;
    EXPECT_EQ(*lines, count) << name;
}

constexpr std::string_view kCounter =
    "Option Explicit\r\n"         // 1
    "Private m As Long\r\n"       // 2
    "\r\n"                        // 3
    "' Adds one\r\n"              // 4
    "Public Sub Foo()\r\n"        // 5
    "    m = m + 1\r\n"           // 6
    "End Sub\r\n"                 // 7
    "\r\n"                        // 8
    "'Reads it\r\n"               // 9
    "Function Bar() As Long\r\n"  // 10
    "    Bar = m\r\n"             // 11
    "End Function\r\n"            // 12
    "\r\n";                       // 13

TEST(CodeModuleModel, ProceduresOwnTheBlankAndCommentLinesBeforeThem) {
    const auto module = Module(kCounter);
    EXPECT_EQ(module.CountOfLines(), 13);
    EXPECT_EQ(module.CountOfDeclarationLines(), 2);
    ExpectSpan(module, "Foo", vbext_pk_Proc, 3, 5);
    ExpectSpan(module, "Bar", vbext_pk_Proc, 8, 5);
    ExpectProc(module, 1, "", vbext_pk_Proc);
    ExpectProc(module, 2, "", vbext_pk_Proc);
    ExpectProc(module, 3, "Foo", vbext_pk_Proc);
    ExpectProc(module, 7, "Foo", vbext_pk_Proc);
    ExpectProc(module, 8, "Bar", vbext_pk_Proc);
    ExpectProc(module, 12, "Bar", vbext_pk_Proc);
    // Lines after the last End belong to no span but show under the last procedure.
    ExpectProc(module, 13, "Bar", vbext_pk_Proc);
}

TEST(CodeModuleModel, LinesOutsideTheModuleFail) {
    const auto module = Module(kCounter);
    EXPECT_FALSE(module.ProcOfLine(0).ok());
    EXPECT_FALSE(module.ProcOfLine(14).ok());
    EXPECT_FALSE(Module("").ProcOfLine(1).ok());
}

TEST(CodeModuleModel, PropertyProceduresOfOneNameAreDistinctByKind) {
    const auto module = Module(
        "Private mValue As Long\n"                         // 1
        "\n"                                               // 2
        "Public Property Get Value() As Long\n"            // 3
        "    Value = mValue\n"                             // 4
        "End Property\n"                                   // 5
        "' Stores it\n"                                    // 6
        "Public Property Let Value(ByVal v As Long)\n"     // 7
        "    mValue = v\n"                                 // 8
        "End Property\n"                                   // 9
        "Friend Property Set Target(ByVal o As Object)\n"  // 10
        "End Property\n");                                 // 11
    ExpectSpan(module, "Value", vbext_pk_Get, 2, 4);
    ExpectSpan(module, "Value", vbext_pk_Let, 6, 4);
    ExpectSpan(module, "Target", vbext_pk_Set, 10, 2);
    ExpectProc(module, 4, "Value", vbext_pk_Get);
    ExpectProc(module, 6, "Value", vbext_pk_Let);
    ExpectProc(module, 11, "Target", vbext_pk_Set);

    // Asked with a kind the procedure does not have, the host fails with a description.
    auto asProc = module.ProcStartLine("Value", vbext_pk_Proc);
    EXPECT_FALSE(asProc.ok());
    EXPECT_NE(asProc.error().find("Value"), std::string::npos);
    EXPECT_FALSE(module.ProcCountLines("Value", vbext_pk_Set).ok());
    EXPECT_FALSE(module.ProcStartLine("Target", vbext_pk_Get).ok());
    EXPECT_FALSE(module.ProcStartLine("Missing", vbext_pk_Proc).ok());
}

TEST(CodeModuleModel, KeywordsAndNamesIgnoreCase) {
    const auto module = Module(
        "PRIVATE STATIC FUNCTION Twice(x)\n"
        "  twice = x * 2\n"
        "end function\n"
        "sub lower_case()\n"
        "END SUB\n");
    ExpectSpan(module, "twice", vbext_pk_Proc, 1, 3);
    ExpectSpan(module, "LOWER_CASE", vbext_pk_Proc, 4, 2);
    ExpectProc(module, 2, "Twice", vbext_pk_Proc);
}

TEST(CodeModuleModel, OneLineProceduresAndStatementSeparators) {
    const auto module = Module(
        "Sub Foo(): End Sub\n"           // 1
        "Sub Bar()\n"                    // 2
        "    x = 1: y = 2\n"             // 3
        "End Sub: ' done\n"              // 4
        "Sub Baz(): x = 1: End Sub\n");  // 5
    EXPECT_EQ(module.CountOfDeclarationLines(), 0);
    ExpectSpan(module, "Foo", vbext_pk_Proc, 1, 1);
    ExpectSpan(module, "Bar", vbext_pk_Proc, 2, 3);
    ExpectSpan(module, "Baz", vbext_pk_Proc, 5, 1);
    ExpectProc(module, 1, "Foo", vbext_pk_Proc);
    ExpectProc(module, 2, "Bar", vbext_pk_Proc);
}

TEST(CodeModuleModel, LineContinuationsJoinHeadersAndComments) {
    const auto module = Module(
        "Option Explicit\n"               // 1
        "' a note that goes on _\n"       // 2
        "  Sub NotAProcedure()\n"         // 3
        "Private Const A = 1\n"           // 4
        "Public Function Sum( _\n"        // 5
        "    ByVal a As Long, _\n"        // 6
        "    ByVal b As Long) As Long\n"  // 7
        "    Sum = a + b\n"               // 8
        "End _\n"                         // 9
        "Function\n"                      // 10
        "Private _\n"                     // 11
        "  Sub Split()\n"                 // 12
        "End Sub\n");                     // 13
    EXPECT_FALSE(module.ProcStartLine("NotAProcedure", vbext_pk_Proc).ok());
    EXPECT_EQ(module.CountOfDeclarationLines(), 4);
    ExpectSpan(module, "Sum", vbext_pk_Proc, 5, 6);
    ExpectProc(module, 7, "Sum", vbext_pk_Proc);
    ExpectSpan(module, "Split", vbext_pk_Proc, 11, 3);
}

TEST(CodeModuleModel, CommentsStringsAndDeclaresAreNotProcedures) {
    const auto module = Module(
        "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"  // 1
        "Public Event Changed()\n"                                             // 2
        "Rem Sub InRem()\n"                                                    // 3
        "Sub Real()\n"                                                         // 4
        "    s = \"End Sub\": t = \"Sub Fake()\"\n"                            // 5
        "    u = 1 ' End Sub\n"                                                // 6
        "    d = #10:30:00 PM#: Rem End Sub\n"                                 // 7
        "    Exit Sub\n"                                                       // 8
        "End Sub\n");                                                          // 9
    EXPECT_EQ(module.CountOfDeclarationLines(), 2);
    EXPECT_FALSE(module.ProcStartLine("GetTickCount", vbext_pk_Proc).ok());
    EXPECT_FALSE(module.ProcStartLine("InRem", vbext_pk_Proc).ok());
    EXPECT_FALSE(module.ProcStartLine("Fake", vbext_pk_Proc).ok());
    ExpectSpan(module, "Real", vbext_pk_Proc, 3, 7);
    ASSERT_EQ(module.Procedures().size(), 1u);
}

TEST(CodeModuleModel, DeclarationsEndAtTheirLastCodeLine) {
    // A header comment before the options belongs to the declarations...
    EXPECT_EQ(Module("' Module header\nOption Explicit\n\n' About Foo\nSub Foo()\nEnd Sub\n")
                  .CountOfDeclarationLines(),
              2);
    // ...a comment block directly in front of the first procedure does not.
    const auto commentOnly = Module("' Only a comment\n\nSub Foo()\nEnd Sub\n");
    EXPECT_EQ(commentOnly.CountOfDeclarationLines(), 0);
    ExpectSpan(commentOnly, "Foo", vbext_pk_Proc, 1, 4);
    // So do compiler constants there, but not those followed by other declarations.
    EXPECT_EQ(Module("Dim a\n#Const TRACE = 1\nSub Foo()\nEnd Sub\n").CountOfDeclarationLines(), 1);
    EXPECT_EQ(Module("#Const TRACE = 1\nDim a\nSub Foo()\nEnd Sub\n").CountOfDeclarationLines(), 2);
    // Without procedures everything up to the last non-blank line is declarations.
    EXPECT_EQ(Module("Option Explicit\nDim a\n' trailing note\n\n\n").CountOfDeclarationLines(), 3);
    EXPECT_EQ(Module("").CountOfDeclarationLines(), 0);
    // A continued declaration counts to its last line.
    EXPECT_EQ(Module("Const A = 1 + _\n  2\nSub F()\nEnd Sub\n").CountOfDeclarationLines(), 2);
}

TEST(CodeModuleModel, AnUnfinishedProcedureEndsBeforeTheNextHeaderOrAtTheEnd) {
    const auto module = Module("Sub A()\n  x = 1\nSub B()\n  y = 2\n");
    ExpectSpan(module, "A", vbext_pk_Proc, 1, 2);
    ExpectSpan(module, "B", vbext_pk_Proc, 3, 2);
}

TEST(CodeModuleModel, TextSplitsAtEveryKindOfLineBreakAndJoinsWithCrLf) {
    const auto module = Module("a\r\nb\nc\rd\r\n");
    EXPECT_EQ(module.AllLines(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(module.Text(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(Module("").CountOfLines(), 0);
    EXPECT_EQ(Module("\n").CountOfLines(), 1);
    EXPECT_EQ(Module("x").CountOfLines(), 1);
}

TEST(CodeModuleModel, LinesReturnsRangesJoinedByCrLf) {
    const auto module = Module("one\ntwo\nthree\n");
    EXPECT_EQ(*module.Lines(1, 3), "one\r\ntwo\r\nthree");
    EXPECT_EQ(*module.Lines(2, 1), "two");
    EXPECT_EQ(*module.Lines(2, 10), "two\r\nthree");  // clipped at the end
    EXPECT_EQ(*module.Lines(1, 0), "");
    EXPECT_EQ(*module.Lines(4, 0), "");
    EXPECT_FALSE(module.Lines(0, 1).ok());
    EXPECT_FALSE(module.Lines(4, 1).ok());
    EXPECT_FALSE(module.Lines(1, -1).ok());
    EXPECT_EQ(*Module("").Lines(1, 0), "");
}

TEST(CodeModuleModel, ReplaceLineChangesOneLineAndRereadsProcedures) {
    auto module = Module("Option Explicit\n    \nSub Foo()\nEnd Sub\n");
    ASSERT_TRUE(module.ReplaceLine(2, "").ok());
    EXPECT_EQ(*module.Lines(2, 1), "");
    EXPECT_EQ(module.CountOfLines(), 4);

    // Renaming the procedure is seen by the next question.
    ASSERT_TRUE(module.ReplaceLine(3, "Private Sub Renamed()").ok());
    EXPECT_FALSE(module.ProcStartLine("Foo", vbext_pk_Proc).ok());
    ExpectSpan(module, "Renamed", vbext_pk_Proc, 2, 3);

    EXPECT_FALSE(module.ReplaceLine(0, "x").ok());
    EXPECT_FALSE(module.ReplaceLine(5, "x").ok());
    EXPECT_EQ(module.CountOfLines(), 4);
}

TEST(CodeModuleModel, ReplaceLineWithLineBreaksInsertsLines) {
    auto module = Module("Sub Foo()\nEnd Sub\n");
    ASSERT_TRUE(module.ReplaceLine(1, "' About Foo\r\nSub Foo()").ok());
    EXPECT_EQ(module.CountOfLines(), 3);
    EXPECT_EQ(*module.Lines(1, 3), "' About Foo\r\nSub Foo()\r\nEnd Sub");
    ExpectSpan(module, "Foo", vbext_pk_Proc, 1, 3);
}

}  // namespace
}  // namespace trawlex::host
